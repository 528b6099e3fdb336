#include "bookmarks/data_file_keeper.h"

#include <utility>

#include "bookmarks/data_file_codec.h"

void DataFileKeeper::Open(const std::string& iniDirectory) {
    m_known = Known::No;
    m_lastWritten.clear();
    dataFilePath = iniDirectory;
    if (dataFilePath.empty()) return;
    if (dataFilePath.back() != '\\') dataFilePath += '\\';
    dataFilePath += "plugins\\gen_morvix.dat";
}

void DataFileKeeper::Load(RememberedList& list) {
    std::vector<unsigned char> bytes;
    if (dataFilePath.empty()) return;
    const FileStore::Reading reading = m_files.ReadAll(dataFilePath, bytes);
    // No file yet: there is nothing of it to join later, nor to look for before a write.
    if (reading != FileStore::Reading::Unreadable) m_known = Known::ByRead;
    if (reading != FileStore::Reading::Read) return;
    DecodedDataFile file = DecodeDataFile(bytes);
    list.Replace(std::move(file.entries), file.useCounter);
}

bool DataFileKeeper::Save(RememberedList& list) {
    if (dataFilePath.empty()) return false;
    NoteFailedWrite();
    JoinUnread(list);
    if (m_known == Known::No && m_files.Exists(dataFilePath)) return false;
    return Write(list);
}

bool DataFileKeeper::SaveWhole(RememberedList& list) {
    m_known = Known::ByRead;
    return Write(list);
}

// The file's entries join as less recent than everything this run used; entries the run knows better
// are dropped.
void DataFileKeeper::JoinUnread(RememberedList& list) {
    if (dataFilePath.empty() || m_known != Known::No) return;
    std::vector<unsigned char> bytes;
    if (m_files.ReadAll(dataFilePath, bytes) != FileStore::Reading::Read) return;
    m_known = Known::ByRead;
    list.JoinOlder(DecodeDataFile(bytes).entries);
}

bool DataFileKeeper::Write(const RememberedList& list) {
    if (dataFilePath.empty()) return false;
    NoteFailedWrite();
    std::vector<unsigned char> bytes = EncodeDataFile(list.MostRecent(m_keep));
    // The file already holds exactly these bytes: replacing it again costs a flush and a rename for nothing.
    if (m_known != Known::No && m_lastWritten == bytes) return false;
    m_lastWritten = bytes;
    m_background.Replace(dataFilePath, std::move(bytes));
    if (m_known == Known::No) m_known = Known::ByOurWrite;
    return true;
}

void DataFileKeeper::NoteFailedWrite() {
    if (!m_background.TakeWriteFailure()) return;
    m_lastWritten.clear();
    if (m_known == Known::ByOurWrite) m_known = Known::No;
}
