// The settings store: the in-memory block of fixed-column text fields shared by the whole program.
#include "storage/settings_store.h"

#include "storage/fixed_width.h"

namespace cw::storage {

namespace {
constexpr size_t kSegmentLength = 250;
}

SettingsStore::SettingsStore() { resetSettingsStore(); }

void SettingsStore::resetSettingsStore() {
    for (auto& s : m_segments) s.assign(kSegmentLength, " ");
    set(col::SettingsFileName, "Cfg.dat");
}

std::pair<int, size_t> SettingsStore::locate(int column) {
    if (column >= 1 && column <= 249) return {0, size_t(column - 1)};
    if (column >= 251 && column <= 499) return {1, size_t(column - 251)};
    if (column >= 501 && column <= 999) return {2, size_t(column - 501)};
    return {-1, 0};
}

std::string SettingsStore::getSetting(int column, int width) const {
    auto [seg, pos] = locate(column);
    if (seg < 0 || width <= 0) return {};
    const Segment& s = m_segments[size_t(seg)];
    std::string text;
    for (size_t i = pos; i < s.size() && i < pos + size_t(width); ++i) text += s[i];
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

void SettingsStore::setSetting(int column, int width, std::string_view text) {
    auto [seg, pos] = locate(column);
    if (seg < 0 || width <= 0) return;
    size_t start = text.find_first_not_of(' ');
    text = start == std::string_view::npos ? std::string_view() : text.substr(start);
    Segment& s = m_segments[size_t(seg)];
    if (s.size() < pos + size_t(width)) s.resize(pos + size_t(width), " ");
    const std::string field = fixedText(text, width);
    std::string_view rest = field;
    for (size_t i = 0; i < size_t(width); ++i) {
        size_t n = columnOffset(rest, 2);
        s[pos + i] = std::string(rest.substr(0, n));
        rest.remove_prefix(n);
    }
}

void SettingsStore::setNumber(Field f, long long value) { set(f, fixedNumber(value, f.width)); }

}  // namespace cw::storage
