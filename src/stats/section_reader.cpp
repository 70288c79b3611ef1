// Reads all key/value pairs of one section of a keyed file, found by the block search.
#include "stats/section_reader.h"

#include <cstdio>

#include "storage/safe_file.h"

namespace cw::stats {

std::optional<storage::KeyValues> readSectionPairs(const std::string& file, std::string_view section) {
    std::string path = storage::resolveNoCase(file);
    if (!storage::fileExists(path)) return std::nullopt;
    std::string hdr = "[" + std::string(section) + "]";
    storage::FileHandle handle(path);
    auto at = storage::findSection(path, hdr, &handle);
    if (!at) return std::nullopt;
    std::FILE* f = handle.get();
    if (::fseeko(f, off_t(*at + std::int64_t(hdr.size())), SEEK_SET) != 0) return std::nullopt;
    // Read until a line beginning with "[" (the next section) or the end of the file.
    std::string text;
    char buf[8192];
    std::size_t n, searchFrom = 0;
    std::size_t end = std::string::npos;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
        text.append(buf, n);
        auto hit = text.find("\n[", searchFrom);
        if (hit != std::string::npos) {
            end = hit;
            break;
        }
        searchFrom = text.size() - 1;
    }
    if (end != std::string::npos) text.resize(end > 0 && text[end - 1] == '\r' ? end - 1 : end);
    storage::KeyValues out;
    auto lines = storage::splitLines(text);
    for (std::size_t i = 1; i < lines.size(); ++i) {  // line 0 is the rest of the header line
        const std::string& line = lines[i];
        auto eq = line.find('=');
        if (eq == std::string::npos || line.empty() || line[0] == '[') continue;
        out.emplace_back(storage::rtrim(std::string_view(line).substr(0, eq)),
                         storage::rtrim(std::string_view(line).substr(eq + 1)));
    }
    return out;
}

void setPair(storage::KeyValues& pairs, const std::string& key, const std::string& value) {
    for (auto& [k, v] : pairs)
        if (k == key) {
            v = value;
            return;
        }
    pairs.emplace_back(key, value);
}

}  // namespace cw::stats
