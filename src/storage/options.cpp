// The values the options dialogs edit: a copy of the "Preference" keys, read, checked and written back with their mirrors.
#include "storage/options.h"

#include <algorithm>
#include <cctype>

#include "storage/fixed_width.h"
#include "storage/safe_file.h"

namespace cw::storage {

bool NoCaseLess::operator()(const std::string& a, const std::string& b) const
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

const std::vector<OptionSpec>& optionSpecs()
{
    // nullptr: the default of the key's settings store row.
    // clang-format off
    static const std::vector<OptionSpec> specs = {
        // "&General"
        {"ToolBar_Large", "Y"}, {"ToolBar_Flat", "Y"}, {"Show_ToolTips", nullptr}, {"Show_Time", nullptr},
        {"Show_Score", nullptr}, {"VertScrollBar", nullptr}, {"ShowPilesSize", nullptr}, {"Statusbar", "Y"},
        {"RightClick_To_Foundations", nullptr}, {"RightClick_To_Tableaus", nullptr},
        {"DoubleClick_To_Foundations", nullptr}, {"DoubleClick_To_Tableaus", nullptr},
        {"Show_Main_Popup_Menu", nullptr}, {"Show_Partial_Hidden_Card", nullptr},
        // The look pages
        {"Card", nullptr}, {"Card_Size", nullptr}, {"Customized_Cards_Set", nullptr},
        {"Additional_Cards_Set", nullptr}, {"Random_Card", nullptr},
        {"Back_Card", nullptr}, {"Customized_Deck", nullptr}, {"Additional_Deck", nullptr}, {"Random_Deck", nullptr},
        {"Background_def", nullptr}, {"Background_Col", nullptr}, {"Background_bmp", nullptr},
        {"Background_Fixed_Col", nullptr}, {"Fade_Background", nullptr}, {"Customized_Background", nullptr},
        {"Additional_Background", nullptr}, {"Random_Background", nullptr},
        // "Anima&tions"
        {"Speed_Move_Card", nullptr}, {"Automatic_FaceUp", nullptr}, {"Redeal_Animation", nullptr},
        {"Deal_Animation", nullptr}, {"Cards_Shadowed", nullptr}, {"Piles_TT", nullptr}, {"Cards_Animate", nullptr},
        {"Winning_Animations", "(Random)"}, {"Winning_Animations_Time", "30"},
        // " &Sounds "
        {"Sounds_Enabled", nullptr}, {"Sounds_NewGame", nullptr}, {"Sounds_Redo", nullptr},
        {"Sounds_Restart", nullptr}, {"Sounds_Undo", nullptr}, {"Sounds_Shuffle", nullptr},
        {"Sounds_Autoplay", nullptr}, {"Sounds_CardDown", nullptr}, {"Sounds_CardUp", nullptr},
        {"Sounds_Stock", nullptr}, {"Sounds_Pairing", nullptr}, {"Sounds_Foundation", nullptr},
        {"Sounds_Tableau", nullptr}, {"Sounds_Redeal", nullptr}, {"Sounds_Redeal_Without_Animation", nullptr},
        {"Sounds_FaceUp", nullptr}, {"Sounds_About", nullptr}, {"Sounds_HiScores", nullptr},
        {"Sounds_NewHiScores", nullptr}, {"Sounds_GameWon", nullptr},
        // "Advanced options"
        {"Undo_Enabled", nullptr}, {"ConfirmQuit", "N"}, {"ConfirmQuitGame", nullptr},
        {"ConfirmEnterHiScores", nullptr}, {"Tips_StartUp", "N"}, {"HighLights_Foundations_Mark", "0"},
        {"HighLights_Foundations_Color", "0"}, {"AutoPlay_All_Games", "1"}, {"ConfirmSaveAndExit", "N"},
        {"ConfirmSaveAndExitType", "0"}, {"Disable_Statistics", "N"}, {"Move_Cards_DragAndDrop", "Y"},
        {"Cursor", nullptr},
    };
    // clang-format on
    return specs;
}

namespace {

const PreferenceRow* rowOf(std::string_view key)
{
    for (const PreferenceRow& row : preferenceRows())
        if (equalsNoCase(row.key, key))
            return &row;
    return nullptr;
}

// The column's text as the key holds it: zero-padded numbers as plain decimals.
std::string fromColumn(const PreferenceRow& row, const SettingsStore& store)
{
    std::string text = store.get(row.field);
    if (row.kind == PrefKind::ZeroPadded || row.kind == PrefKind::Integer)
        if (auto n = parseInteger(text))
            return std::to_string(*n);
    return text;
}

} // namespace

std::string Options::get(const std::string& key) const
{
    auto it = m_values.find(key);
    return it == m_values.end() ? std::string() : it->second;
}

void Options::set(const std::string& key, std::string value) { m_values[key] = std::move(value); }

int Options::integer(const std::string& key, int def) const
{
    const auto n = parseInteger(get(key));
    return n && *n >= INT32_MIN && *n <= INT32_MAX ? static_cast<int>(*n) : def;
}

Options readOptions(const IniFile& settings, const SettingsStore& store)
{
    Options out;
    for (const OptionSpec& spec : optionSpecs()) {
        const PreferenceRow* row = rowOf(spec.key);
        if (row && row->kind != PrefKind::Customized) {
            out.set(spec.key, fromColumn(*row, store));
            continue;
        }
        std::string def = spec.def ? spec.def : "";
        out.set(spec.key, settings.readString(kPreferenceSection, spec.key, def));
    }
    return out;
}

void writeOptions(IniFile& settings, SettingsStore& store, const Options& values)
{
    // Every key in one rewrite of the file; the mirrors are set whatever happens to the file.
    std::vector<std::pair<std::string, std::string>> all(values.values().begin(), values.values().end());
    for (const auto& [key, value] : all)
        setMirror(store, key, value);
    settings.writeStrings(kPreferenceSection, all);
}

void setMirror(SettingsStore& store, const std::string& key, const std::string& value)
{
    const PreferenceRow* row = rowOf(key);
    if (!row)
        return;
    switch (row->kind) {
    case PrefKind::Text: store.set(row->field, value); break;
    case PrefKind::Integer:
    case PrefKind::ZeroPadded: {
        const auto n = parseInteger(value);
        const auto def = parseInteger(row->def ? row->def : "0");
        const long long v = n ? *n : (def ? *def : 0);
        if (row->kind == PrefKind::ZeroPadded)
            store.setNumber(row->field, v);
        else
            store.set(row->field, std::to_string(v));
        break;
    }
    case PrefKind::Customized: store.set(row->field, value.empty() ? "N" : "Y"); break;
    }
}

void applyGamePreferences(GamePreferences& prefs, const Options& values)
{
    prefs.disableStatistics = values.isY("Disable_Statistics");
    prefs.moveCardsDragAndDrop = values.get("Move_Cards_DragAndDrop") != "N";
    prefs.autoPlayAllGames = boundedInteger(values.get("AutoPlay_All_Games"), 1, 3, 1);
    prefs.highlightFoundationsMark = boundedInteger(values.get("HighLights_Foundations_Mark"), 0, 5, 0);
}

// ---- Values as the controls show them ----

namespace {
constexpr int kSpeeds[5] = {50, 25, 10, 3, 0};
}

int speedPosition(const std::string& stored)
{
    if (const auto n = parseInteger(stored))
        for (int i = 0; i < 5; ++i)
            if (*n == kSpeeds[i])
                return i + 1;
    return 3;
}

std::string speedForPosition(int position) { return std::to_string(kSpeeds[std::clamp(position, 1, 5) - 1]); }

char cardSizeLetter(const std::string& stored)
{
    if (stored.size() == 1) {
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(stored[0])));
        if (c == 'X' || c == 'S' || c == 'B' || c == 'M' || c == 'L')
            return c;
    }
    return 'B';
}

const std::vector<std::string>& winningAnimationNames()
{
    static const std::vector<std::string> names = {"(Random)",   "Festoons",      "Circles",    "Lines",
                                                   "Open order", "Left to right", "Up to down", "(None)"};
    return names;
}

std::string winningAnimationName(const std::string& stored)
{
    for (const std::string& n : winningAnimationNames())
        if (equalsNoCase(n, stored))
            return n;
    return winningAnimationNames().front();
}

int winningAnimationSeconds(const std::string& stored)
{
    const auto n = parseInteger(stored);
    if (!n)
        return 30;
    return static_cast<int>(std::clamp<std::int64_t>(*n, 0, 990));
}

int undoChoice(const std::string& stored)
{
    if (stored == "2")
        return 2;
    if (stored == "1")
        return 1;
    return 0;
}

int cursorChoice(const std::string& stored)
{
    const auto n = parseInteger(stored);
    if (!n)
        return 0;
    if (*n == 0)
        return 1;
    if (*n >= 10 && *n <= 15)
        return static_cast<int>(*n - 10);
    return 0;
}

int cursorValue(int choice) { return choice >= 0 && choice <= 5 ? 10 + choice : 0; }

int boundedInteger(const std::string& stored, int low, int high, int def)
{
    const auto n = parseInteger(stored);
    if (!n || *n < low || *n > high)
        return def;
    return static_cast<int>(*n);
}

std::string autoplayGamesText(const std::vector<std::pair<int, bool>>& builtInChoices)
{
    std::string text(337, 'Y');
    for (const auto& [id, on] : builtInChoices) {
        if (id < 0)
            continue;
        const auto at = static_cast<std::size_t>(id);
        if (text.size() <= at)
            text.resize(at + 10, 'Y');
        text[at] = on ? 'Y' : 'N';
    }
    return text;
}

} // namespace cw::storage
