#include "platform/file_identity.h"

namespace {
// 64-bit FNV-1a: every byte moves the whole hash, so one changed byte gives another identity.
constexpr std::uint64_t kOffset = 14695981039346656037ull;
constexpr std::uint64_t kPrime = 1099511628211ull;

std::uint64_t Mix(std::uint64_t hash, const unsigned char* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        hash = (hash ^ bytes[i]) * kPrime;
    return hash;
}
bool Zero(const unsigned char* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        if (bytes[i] != 0) return false;
    return true;
}
} // namespace

FileIdentity file_identity::Of(std::uint64_t size, const unsigned char* head, std::size_t headBytes,
                               const unsigned char* tail, std::size_t tailBytes) {
    FileIdentity identity;
    // Zeros alone (a file preallocated and not yet written, an unfinished download) tell nothing apart:
    // every such file of one size would match.
    if (size == 0 || (Zero(head, headBytes) && Zero(tail, tailBytes))) return identity;
    unsigned char sizeBytes[8];
    for (int i = 0; i < 8; ++i)
        sizeBytes[i] = static_cast<unsigned char>(size >> (8 * i));
    identity.size = size;
    identity.hash = Mix(Mix(Mix(kOffset, sizeBytes, 8), head, headBytes), tail, tailBytes);
    return identity;
}
