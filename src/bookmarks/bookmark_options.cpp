// The store's side of the options: the remembered files as they list them, and what a person takes out.
#include "bookmarks/bookmark_store.h"
#include "bookmarks/file_name.h"
#include "settings/settings.h"

namespace {
// How long a removal in the options waits to tell whether the data file took it.
constexpr DWORD kAnswerMs = 300;
} // namespace

std::vector<RememberedFile> CBookmarkStore::List() {
    CollectWrites();
    std::vector<RememberedFile> files;
    for (const BookmarkEntry* e : entries.MostRecent(static_cast<std::size_t>(MaxFiles(m_settings)))) {
        const std::u16string whole =
            file_name::IsWide(e->fileName) ? file_name::ToWide(e->fileName) : m_codePage.ToWide(e->fileName);
        const std::size_t slash = whole.find_last_of(u"\\/");
        const std::size_t cut = slash == std::u16string::npos ? 0 : slash;
        // The tracked file stands where the player last was, not where it was last recorded.
        const int position = e->fileName == currentFile && currentPos >= 0 ? currentPos : e->position;
        files.push_back(RememberedFile{e->fileName,
                                       whole.substr(slash == std::u16string::npos ? 0 : slash + 1),
                                       whole.substr(0, cut), position, e->lastPlayed});
    }
    return files;
}

// As Forget does for all: the file playing now is remembered again from where it is left.
bool CBookmarkStore::Remove(const std::string& key) {
    const std::size_t found = entries.Find(key);
    if (found != RememberedList::npos) entries.Remove(found);
    m_dataFile.Removed(key, Now());
    Written(DataFile().Save(entries));
    return WriteLanded();
}

bool CBookmarkStore::ForgetAll() {
    m_dataFile.RemovedAll(Now());
    entries.Replace({}, entries.UseCounter());
    Written(DataFile().Save(entries));
    return WriteLanded();
}

bool CBookmarkStore::WriteLanded() {
    if (m_dataFile.Path().empty()) return false;
    m_background.WaitForWrites(kAnswerMs);
    CollectWrites();
    return !m_dataFile.WriteFailed();
}
