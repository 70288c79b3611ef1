// Game comments on disk: safe file names made from game names, loading, saving and deleting.
#include "tools/core/comment_files.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <unordered_set>

#include "storage/safe_file.h"

namespace cw::tools {

namespace {

constexpr std::string_view kPrefix = "Comments_";
constexpr std::string_view kSuffix = ".rtf";
constexpr std::size_t kMaxFileName = 255; // bytes, as Linux file systems count them
constexpr std::size_t kMaxNamePart = kMaxFileName - kPrefix.size() - kSuffix.size();

std::string trimmedName(std::string_view name)
{
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t'))
        name.remove_suffix(1);
    return std::string(name);
}

bool unsafeAscii(unsigned char c)
{
    if (c < 0x20 || c == 0x7F)
        return true;
    switch (c) {
    case '/':
    case '\\':
    case '%':
    case '~':
    case ':':
    case '*':
    case '?':
    case '"':
    case '<':
    case '>':
    case '|': return true;
    default: return false;
    }
}

// Length of the well-formed UTF-8 sequence starting at s[i]; 0 when it is malformed.
std::size_t utf8Length(std::string_view s, std::size_t i)
{
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t n = 0;
    if (b >= 0xC2 && b <= 0xDF)
        n = 2;
    else if (b >= 0xE0 && b <= 0xEF)
        n = 3;
    else if (b >= 0xF0 && b <= 0xF4)
        n = 4;
    else
        return 0;
    if (i + n > s.size())
        return 0;
    for (std::size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
            return 0;
    const auto b1 = static_cast<unsigned char>(s[i + 1]);
    if ((b == 0xE0 && b1 < 0xA0) || (b == 0xED && b1 >= 0xA0) || (b == 0xF0 && b1 < 0x90) || (b == 0xF4 && b1 >= 0x90))
        return 0; // overlong forms, surrogates, beyond U+10FFFF
    return n;
}

// The name with every unsafe byte as "%XX"; `pieces` receives where each kept unit starts, so
// that a cut never splits a character or an escape.
std::string escapeName(std::string_view name, std::vector<std::size_t>* pieces)
{
    static const char* const hex = "0123456789ABCDEF";
    std::string out;
    std::size_t i = 0;
    while (i < name.size()) {
        if (pieces)
            pieces->push_back(out.size());
        const auto b = static_cast<unsigned char>(name[i]);
        if (b < 0x80) {
            if (unsafeAscii(b)) {
                out += '%';
                out += hex[b >> 4];
                out += hex[b & 15];
            } else {
                out += static_cast<char>(b);
            }
            ++i;
            continue;
        }
        const std::size_t n = utf8Length(name, i);
        if (n == 0) {
            out += '%';
            out += hex[b >> 4];
            out += hex[b & 15];
            ++i;
        } else {
            out.append(name.substr(i, n));
            i += n;
        }
    }
    if (pieces)
        pieces->push_back(out.size());
    return out;
}

std::uint64_t nameHash(std::string_view name)
{
    std::uint64_t h = 14695981039346656037ull; // FNV-1a
    for (char c : name) {
        const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        h ^= static_cast<unsigned char>(lower);
        h *= 1099511628211ull;
    }
    return h;
}

std::string lowerAscii(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

} // namespace

std::string commentFileName(std::string_view gameName)
{
    const std::string name = trimmedName(gameName);
    std::vector<std::size_t> pieces;
    std::string safe = escapeName(name, &pieces);
    if (safe.size() > kMaxNamePart) {
        char tail[18];
        std::snprintf(tail, sizeof tail, "~%016llX", static_cast<unsigned long long>(nameHash(name)));
        const std::size_t room = kMaxNamePart - 17;
        std::size_t cut = 0;
        for (std::size_t p : pieces)
            if (p <= room)
                cut = p;
        safe = safe.substr(0, cut) + tail;
    }
    return std::string(kPrefix) + safe + std::string(kSuffix);
}

std::optional<std::string> legacyCommentFileName(std::string_view gameName)
{
    const std::string name = trimmedName(gameName);
    if (name.empty() || name.size() > kMaxNamePart)
        return std::nullopt;
    for (char c : name)
        if (c == '/' || c == '\0' || c == '%' || c == '~')
            return std::nullopt;
    std::string plain = std::string(kPrefix) + name + std::string(kSuffix);
    if (plain == commentFileName(gameName))
        return std::nullopt;
    return plain;
}

CommentFiles::CommentFiles(std::string dataFolder) : m_folder(std::move(dataFolder)) {}

std::string CommentFiles::pathFor(std::string_view gameName) const
{
    return storage::resolveNoCase(m_folder + commentFileName(gameName));
}

std::string CommentFiles::existingPath(std::string_view gameName) const
{
    const std::string safe = pathFor(gameName);
    if (storage::fileExists(safe))
        return safe;
    if (const auto old = legacyCommentFileName(gameName)) {
        const std::string path = storage::resolveNoCase(m_folder + *old);
        if (storage::fileExists(path))
            return path;
    }
    return {};
}

std::vector<bool> CommentFiles::commented(const std::vector<std::string>& gameNames) const
{
    std::unordered_set<std::string> files;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(m_folder.empty() ? "." : m_folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        std::string name = lowerAscii(it->path().filename().string());
        if (name.rfind("comments_", 0) == 0 && it->is_regular_file(ec))
            files.insert(std::move(name));
    }
    std::vector<bool> marks;
    marks.reserve(gameNames.size());
    for (const std::string& game : gameNames) {
        bool has = files.count(lowerAscii(commentFileName(game))) > 0;
        if (!has)
            if (const auto old = legacyCommentFileName(game))
                has = files.count(lowerAscii(*old)) > 0;
        marks.push_back(has);
    }
    return marks;
}

CommentLoad CommentFiles::load(std::string_view gameName) const
{
    CommentLoad result;
    const std::string path = existingPath(gameName);
    if (path.empty())
        return result;
    result.found = true;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        result.error = storage::cannotOpenMessage(path);
        return result;
    }
    std::string bytes;
    char buffer[65536];
    std::size_t n = 0;
    while (bytes.size() <= kMaxCommentFileBytes && (n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        bytes.append(buffer, n);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) {
        result.error = storage::cannotOpenMessage(path);
        return result;
    }
    bool cut = false;
    if (bytes.size() > kMaxCommentFileBytes) {
        bytes.resize(kMaxCommentFileBytes);
        cut = true;
    }
    RtfReadResult read = readRtf(bytes);
    result.text = std::move(read.text);
    result.complete = read.complete && !cut;
    return result;
}

void CommentFiles::save(std::string_view gameName, const RichText& text) const
{
    RichText normal = text;
    normalize(normal);
    std::vector<std::string> gone;
    if (const auto old = legacyCommentFileName(gameName))
        gone.push_back(storage::resolveNoCase(m_folder + *old));
    if (normal.empty())
        gone.push_back(pathFor(gameName));
    else
        storage::writeFileAtomic(pathFor(gameName), writeRtf(normal));
    for (const std::string& path : gone) {
        std::error_code ec;
        std::filesystem::remove(path, ec);
        if (ec && storage::fileExists(path))
            throw storage::FileError(storage::deleteErrorMessage(path));
    }
}

} // namespace cw::tools
