// The random look lists of Rnd_cfg.dat: which card sets, decks and backgrounds a new game may pick from.
#include "storage/random_look.h"

#include <cctype>
#include <cstdio>
#include <filesystem>

#include "storage/fixed_width.h"
#include "storage/safe_file.h"

namespace cw::storage {

namespace {

const char* const kSections[3] = {"Cards", "Decks", "Backgrounds"};

std::vector<RandomItem>* listOf(RandomLists& lists, int section)
{
    switch (section) {
    case 0: return &lists.cards;
    case 1: return &lists.decks;
    case 2: return &lists.backgrounds;
    default: return nullptr;
    }
}

// "y" or "n", the size letter or a blank, the code; tolerant of blanks lost around the value.
bool parseValue(std::string_view value, RandomItem& item)
{
    if (value.empty())
        return false;
    const char flag = value[0];
    item.included = flag == 'y' || flag == 'Y';
    if (flag == 'y' || flag == 'Y' || flag == 'n' || flag == 'N' || flag == ' ')
        value.remove_prefix(1);
    if (!value.empty() && (std::isalpha(static_cast<unsigned char>(value[0])) || value[0] == ' ')) {
        item.sizeLetter = value[0] == ' ' ? ' ' : static_cast<char>(std::toupper(static_cast<unsigned char>(value[0])));
        value.remove_prefix(1);
    }
    const auto code = parseInteger(value);
    if (!code || *code < -1000000 || *code > 100000000)
        return false;
    item.code = static_cast<int>(*code);
    return true;
}

std::string codeText(const RandomItem& item, bool cardSet)
{
    if (cardSet && item.code >= 0)
        return fixedNumber(item.code, 3);
    return std::to_string(item.code);
}

} // namespace

RandomLists readRandomLists(const std::string& dataFolder)
{
    RandomLists lists;
    const auto text = readWholeFile(resolveNoCase(dataFolder + kRandomListsFile));
    if (!text)
        return lists;
    std::vector<RandomItem>* into = nullptr;
    for (const std::string& raw : splitLines(*text)) {
        const std::string line = trim(raw);
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            into = nullptr;
            for (int s = 0; s < 3; ++s)
                if (equalsNoCase(trim(std::string_view(line).substr(1, line.size() - 2)), kSections[s]))
                    into = listOf(lists, s);
            continue;
        }
        const auto eq = line.find('=');
        if (!into || eq == std::string::npos || eq == 0)
            continue;
        RandomItem item;
        item.name = rtrim(std::string_view(line).substr(0, eq));
        if (parseValue(ltrim(std::string_view(line).substr(eq + 1)), item))
            into->push_back(std::move(item));
    }
    return lists;
}

void saveRandomLists(const std::string& dataFolder, const RandomLists& lists)
{
    std::string text;
    RandomLists copy = lists;
    for (int s = 0; s < 3; ++s) {
        text += std::string("[") + kSections[s] + "]\r\n";
        for (const RandomItem& item : *listOf(copy, s)) {
            text += item.name + "=" + (item.included ? "y" : "n");
            text += s == 0 && item.sizeLetter != ' ' ? item.sizeLetter : ' ';
            text += codeText(item, s == 0) + "\r\n";
        }
    }
    writeFileAtomic(resolveNoCase(dataFolder + kRandomListsFile), text);
    writeFileAtomic(resolveNoCase(dataFolder + kRandomListsMark), "1\r\n");
}

bool randomListsMarked(const std::string& dataFolder)
{
    return fileExists(resolveNoCase(dataFolder + kRandomListsMark));
}

void forgetRandomListsMark(const std::string& dataFolder)
{
    std::error_code ec;
    std::filesystem::remove(resolveNoCase(dataFolder + kRandomListsMark), ec);
}

const RandomItem* pickRandomItem(const std::vector<RandomItem>& items, char sizeLetter, std::uint32_t randomValue)
{
    std::vector<const RandomItem*> pool;
    for (const RandomItem& item : items)
        if (item.included && (sizeLetter == 0 || item.sizeLetter == ' ' ||
                              equalsNoCase(std::string(1, item.sizeLetter), std::string(1, sizeLetter))))
            pool.push_back(&item);
    if (pool.empty())
        return nullptr;
    return pool[randomValue % pool.size()];
}

void keepRandomMarks(std::vector<RandomItem>& items, const std::vector<RandomItem>& previous)
{
    for (RandomItem& item : items) {
        item.included = false;
        for (const RandomItem& old : previous)
            if (equalsNoCase(old.name, item.name) && old.code == item.code) {
                item.included = old.included;
                break;
            }
    }
}

} // namespace cw::storage
