#include "platform/win32/win32_seams.h"

#include <algorithm>
#include <utility>

namespace {

// Owns a file handle for the length of one call.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : m_handle(handle) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() { Close(); }

    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_handle; }
    bool Close() {
        if (!IsOpen()) return true;
        const BOOL closed = ::CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
        return closed != FALSE;
    }

private:
    HANDLE m_handle;
};

// A data file is a few kilobytes; anything beyond this is not one of ours, and only its start is read.
constexpr DWORD kMaxReadBytes = 16u << 20;

bool WriteAll(HANDLE file, const std::vector<unsigned char>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

// The file the new contents are written to before they replace path. Beside it, so that the rename stays
// on one volume, and never longer than the platform's path limit where path itself is within it: the
// usual name adds ".new", a path too long for that gets the same name with its last character changed.
std::string TemporaryFor(const std::string& path) {
    const std::string suffix = ".new";
    if (path.size() + suffix.size() < MAX_PATH) return path + suffix;
    std::string temporary = path;
    temporary.back() = temporary.back() == '~' ? '_' : '~';
    return temporary;
}

HANDLE CreateTemporary(const std::string& temporary) {
    return ::CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
}

// The folder that holds path, made when it is missing (only that one level); false when it cannot be.
bool MakeParentFolder(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos || slash == 0) return false;
    return ::CreateDirectoryA(path.substr(0, slash).c_str(), nullptr) != FALSE;
}

// Another program's hold on the file, or a refusal of the folder's, may be over a moment later.
FileStore::Outcome Refusal(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED
               ? FileStore::Outcome::Refused
               : FileStore::Outcome::Failed;
}

bool NotFound(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// The path as UTF-16, ended by a zero; empty when it cannot be converted.
std::vector<wchar_t> WideOf(const std::string& path) {
    const int units = ::MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0);
    if (units <= 0) return {};
    std::vector<wchar_t> wide(static_cast<std::size_t>(units));
    ::MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide.data(), units);
    return wide;
}

} // namespace

FileStore::Reading Win32FileStore::ReadAll(const std::string& path, std::vector<unsigned char>& bytes) {
    bytes.clear();
    FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen()) return NotFound(::GetLastError()) ? Reading::Absent : Reading::Unreadable;
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0) return Reading::Unreadable;
    const DWORD wanted = size.QuadPart > kMaxReadBytes ? kMaxReadBytes : static_cast<DWORD>(size.QuadPart);
    bytes.resize(wanted);
    DWORD total = 0;
    while (total < wanted) {
        DWORD got = 0;
        if (!::ReadFile(file.Get(), bytes.data() + total, wanted - total, &got, nullptr))
            return Reading::Unreadable;
        if (got == 0) break; // the file shrank meanwhile: keep what was there
        total += got;
    }
    bytes.resize(total);
    return Reading::Read;
}

// The new contents go to a file beside the target and replace it in one rename, so that a failure at any
// point leaves the previous file as it was.
FileStore::Outcome Win32FileStore::Replace(const std::string& path, const std::vector<unsigned char>& bytes) {
    // A read-only file is the user's wish to keep it as it is. Windows itself refuses to replace one, but
    // not every implementation of the call does, so the attribute is looked at first.
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return Outcome::Failed;
    // A temporary file that a crash left behind is ours: it is written over.
    const std::string temporary = TemporaryFor(path);
    HANDLE created = CreateTemporary(temporary);
    // The host's INI directory may have no plug-ins folder yet.
    if (created == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_PATH_NOT_FOUND && MakeParentFolder(path))
        created = CreateTemporary(temporary);
    FileHandle file(created);
    if (!file.IsOpen()) return Refusal(::GetLastError());
    bool ok = WriteAll(file.Get(), bytes) && ::FlushFileBuffers(file.Get());
    ok = file.Close() && ok;
    if (!ok) {
        ::DeleteFileA(temporary.c_str());
        return Outcome::Failed;
    }
    if (::MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return Outcome::Written;
    const DWORD error = ::GetLastError();
    ::DeleteFileA(temporary.c_str());
    return Refusal(error);
}

bool Win32FileStore::Gone(const std::string& path, bool utf8) {
    const std::vector<wchar_t> wide = utf8 ? WideOf(path) : std::vector<wchar_t>{};
    if (utf8 && wide.empty()) return false;
    const DWORD attributes = utf8 ? ::GetFileAttributesW(wide.data()) : ::GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return false;
    return NotFound(::GetLastError());
}

// Opened with every share mode, so that the player that has the file open, for writing even, goes on as
// if nothing looked; a folder cannot be opened this way.
FileIdentity Win32FileStore::Identify(const std::string& path, bool utf8) {
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE opened = INVALID_HANDLE_VALUE;
    if (utf8) {
        const std::vector<wchar_t> wide = WideOf(path);
        if (wide.empty()) return FileIdentity{};
        opened = ::CreateFileW(wide.data(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    } else {
        opened = ::CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    FileHandle file(opened);
    LARGE_INTEGER size;
    if (!file.IsOpen() || !::GetFileSizeEx(file.Get(), &size) || size.QuadPart <= 0) return FileIdentity{};
    const std::uint64_t bytes = static_cast<std::uint64_t>(size.QuadPart);
    const std::size_t end = file_identity::kEndBytes;
    const bool whole = bytes <= 2 * end;
    std::vector<unsigned char> ends(whole ? static_cast<std::size_t>(bytes) : 2 * end);
    // The head, then (from its own offset) the tail; a file that changes size meanwhile has no identity.
    for (std::size_t part = 0; part < (whole ? 1u : 2u); ++part) {
        const std::size_t want = whole ? ends.size() : end;
        LARGE_INTEGER at;
        at.QuadPart = part == 0 ? 0 : static_cast<LONGLONG>(bytes - end);
        DWORD got = 0;
        if (!::SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN) ||
            !::ReadFile(file.Get(), ends.data() + part * end, static_cast<DWORD>(want), &got, nullptr) ||
            got != want)
            return FileIdentity{};
    }
    if (whole) return file_identity::Of(bytes, ends.data(), ends.size(), nullptr, 0);
    return file_identity::Of(bytes, ends.data(), end, ends.data() + end, end);
}
