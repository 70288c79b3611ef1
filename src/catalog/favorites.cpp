// The player's favorite games: reading, writing and arranging the "Favorite Games" list.
#include "catalog/favorites.h"

#include "catalog/definitions.h"
#include "storage/fixed_width.h"
#include "storage/ini_file.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace cw::catalog {

namespace {

std::string lowered(std::string_view s)
{
    std::string out(s);
    for (char& c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string oldKey(int index)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "Game%03d", index);
    return buf;
}

void flattenInto(const std::vector<FavoriteNode>& nodes, bool inFolder, std::vector<Favorite>& out)
{
    for (const FavoriteNode& n : nodes) {
        out.push_back(Favorite{inFolder, n.id, n.name});
        flattenInto(n.children, true, out);
    }
}

} // namespace

std::string FavoriteKey(int index)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "Game%04d", index);
    return buf;
}

std::string FormatFavorite(const Favorite& f)
{
    return std::string(f.inFolder ? "02" : "01") + storage::fixedNumber(f.id, 4) + f.name;
}

bool ParseFavorite(std::string_view value, Favorite& out)
{
    if (value.size() < 6) return false;
    std::string_view level = value.substr(0, 2);
    if (level != "01" && level != "02") return false;
    auto id = storage::parseInteger(value.substr(2, 4));
    if (!id) return false;
    out.inFolder = level == "02";
    out.id = int(*id);
    out.name = std::string(TrimTrailingBlanks(value.substr(6, kFavoriteNameLength)));
    return true;
}

std::vector<Favorite> ReadFavorites(const storage::IniFile& ini)
{
    std::vector<Favorite> out;
    for (int i = 0; i <= 9999; ++i) {
        std::string value = ini.readString(kFavoritesSection, FavoriteKey(i), "");
        Favorite f;
        if (value.empty() || !ParseFavorite(value, f)) break;
        out.push_back(std::move(f));
    }
    return out;
}

std::vector<FavoriteNode> BuildFavoritesTree(const std::vector<Favorite>& entries)
{
    std::vector<FavoriteNode> tree;
    for (const Favorite& f : entries) {
        FavoriteNode node{f.isFolder() ? kReadFolderId : f.id, f.name, {}};
        if (f.inFolder && !tree.empty())
            tree.back().children.push_back(std::move(node));
        else
            tree.push_back(std::move(node));
    }
    return tree;
}

std::vector<Favorite> FlattenFavoritesTree(const std::vector<FavoriteNode>& tree)
{
    std::vector<Favorite> out;
    flattenInto(tree, false, out);
    return out;
}

void SaveFavoritesTree(storage::IniFile& ini, const std::vector<FavoriteNode>& tree)
{
    ini.eraseSection(kFavoritesSection);
    std::vector<Favorite> entries = FlattenFavoritesTree(tree);
    for (std::size_t i = 0; i < entries.size(); ++i)
        ini.writeString(kFavoritesSection, FavoriteKey(int(i)), FormatFavorite(entries[i]));
}

bool RemoveFavoriteGame(storage::IniFile& ini, int id)
{
    std::vector<Favorite> entries = ReadFavorites(ini);
    const auto removed = std::erase_if(entries, [id](const Favorite& f) { return !f.isFolder() && f.id == id; });
    if (removed == 0) return false;
    ini.eraseSection(kFavoritesSection);
    for (std::size_t i = 0; i < entries.size(); ++i)
        ini.writeString(kFavoritesSection, FavoriteKey(int(i)), FormatFavorite(entries[i]));
    return true;
}

bool ConvertOldFavorites(storage::IniFile& ini, const std::function<int(std::string_view)>& idByName)
{
    if (!ini.hasKey(kOldFavoritesSection, oldKey(0))) return false;
    for (int i = 0; i <= 999; ++i) {
        if (!ini.hasKey(kOldFavoritesSection, oldKey(i))) break;
        std::string name = ini.readString(kOldFavoritesSection, oldKey(i), "");
        Favorite f{false, idByName(name), storage::fixedText(name, int(kFavoriteNameLength))};
        ini.writeString(kFavoritesSection, FavoriteKey(i), FormatFavorite(f));
    }
    ini.eraseSection(kOldFavoritesSection);
    return true;
}

std::vector<int> FavoriteGameIds(const std::vector<Favorite>& entries)
{
    std::vector<int> ids;
    for (const Favorite& f : entries)
        if (f.id >= 0) ids.push_back(f.id);
    return ids;
}

int InsertFavoriteGame(std::vector<FavoriteNode>& tree, int folder, int id, const std::string& name)
{
    std::vector<FavoriteNode>& into =
        (folder >= 0 && folder < int(tree.size())) ? tree[std::size_t(folder)].children : tree;
    const bool topLevel = &into == &tree;
    const std::string key = lowered(name);
    std::size_t at = into.size();
    for (std::size_t i = 0; i < into.size(); ++i) {
        if (topLevel && into[i].isFolder()) continue;
        if (lowered(into[i].name) > key) {
            at = i;
            break;
        }
    }
    into.insert(into.begin() + std::ptrdiff_t(at), FavoriteNode{id, name, {}});
    return int(at);
}

int InsertFavoriteFolder(std::vector<FavoriteNode>& tree, const std::string& name, int id)
{
    std::size_t at = tree.size();
    for (std::size_t i = 0; i < tree.size(); ++i)
        if (!tree[i].isFolder()) {
            at = i;
            break;
        }
    tree.insert(tree.begin() + std::ptrdiff_t(at), FavoriteNode{id, name, {}});
    return int(at);
}

} // namespace cw::catalog
