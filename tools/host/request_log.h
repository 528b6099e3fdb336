// What reached the host's own window procedure: every WM_USER request and notification and every
// WM_COMMAND, with the answer given, plus notes on what the host itself did (load, init, quit...).
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "platform/win_types.h"

struct HostRequest {
    UINT message = 0; // 0 for a note
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LRESULT answer = 0;
    std::string note; // for a note; for an answer that points to text, a copy of that text

    bool IsNote() const { return message == 0; }
    bool IsUser(LPARAM code) const { return message == WM_USER && lParam == code; }
    bool IsCommand(WPARAM id) const { return message == WM_COMMAND && LOWORD(wParam) == id; }
    // One line, e.g. "WM_USER lParam=105 (position) wParam=0 -> 42000".
    std::string Describe() const;
};

class RequestLog {
public:
    // Returns the entry's index, so the answer can be filled in once known: requests made while the
    // host answers (its notifications) then appear after the request that caused them.
    std::size_t Add(const HostRequest& request) {
        m_entries.push_back(request);
        return m_entries.size() - 1;
    }
    void SetAnswer(std::size_t index, LRESULT answer) { m_entries[index].answer = answer; }
    void SetText(std::size_t index, std::string text) { m_entries[index].note = std::move(text); }
    void Note(std::string text);
    void Clear() { m_entries.clear(); }

    const std::vector<HostRequest>& Entries() const { return m_entries; }
    std::size_t CountUser(LPARAM code) const;
    std::size_t CountCommand(WPARAM id) const;
    // The last `last` entries (all with 0), one per line, with their index.
    std::string Format(std::size_t last = 0) const;

private:
    std::vector<HostRequest> m_entries;
};
