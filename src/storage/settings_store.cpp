// The settings store: the in-memory block of fixed-column text fields shared by the whole program.
#include "storage/settings_store.h"

#include "storage/fixed_width.h"

namespace cw::storage {

namespace {
constexpr size_t kSegmentLength = 250;
}

SettingsStore::SettingsStore() { resetSettingsStore(); }

void SettingsStore::resetSettingsStore() {
    for (auto& s : m_segments) s.assign(kSegmentLength, ' ');
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
    const std::string& s = m_segments[size_t(seg)];
    if (pos >= s.size()) return {};
    std::string text = s.substr(pos, size_t(width));
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

void SettingsStore::setSetting(int column, int width, std::string_view text) {
    auto [seg, pos] = locate(column);
    if (seg < 0 || width <= 0) return;
    size_t start = text.find_first_not_of(' ');
    text = start == std::string_view::npos ? std::string_view() : text.substr(start);
    std::string& s = m_segments[size_t(seg)];
    if (s.size() < pos + size_t(width)) s.resize(pos + size_t(width), ' ');
    s.replace(pos, size_t(width), fixedText(text, width));
}

void SettingsStore::setNumber(Field f, long long value) { set(f, fixedNumber(value, f.width)); }

}  // namespace cw::storage
