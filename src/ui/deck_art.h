// Card backs (decks): our own patterns and player files.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include "ui/image_files.h"

#include <vector>

namespace cw::ui {

class PictureLibrary;

struct DeckInfo {
    int number;      // 1, 2, ... shown as three digits
    QString name;    // display name
};

inline constexpr int kDefaultDeck = 11;

const std::vector<DeckInfo>& builtInDecks();
const DeckInfo* findDeck(int number);
// Numbers of the decks that can be drawn with this library.
std::vector<int> availableDecks(const PictureLibrary& library);

// The back of deck `number` at `logical` size and the device pixel ratio; an unknown
// or missing deck gives the default deck.
QImage renderDeck(const PictureLibrary& library, int number, QSize logical, qreal devicePixelRatio);

// A player's deck file, stretched to the card size; on failure the message to show.
PictureFileResult loadPlayerDeck(const QString& path, QSize logical, qreal devicePixelRatio);

} // namespace cw::ui
