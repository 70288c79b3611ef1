// Small pictures of the game chooser: game type icons with the player's result marks, and the feature pictures.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

#include <map>

#include "stats/played_state.h"

namespace cw::ui {

class PictureLibrary;

// The variant of a game's type icon: plain (marks off), or the player's result.
enum class GameMark { Plain, Won, NotWon, NotPlayed };

// The suffix of a variant's picture name: "", "_WIN", "_NOWIN", "_NOPLAYED".
QString gameMarkSuffix(GameMark mark);

// The variant of a game for a player's played states (a game without a record was never played).
GameMark gameMarkFor(const std::map<int, stats::PlayedState>& states, int id);

// The icon of a game type (its folder, and every game of it) in one variant: the library's picture of
// that name when it has one, otherwise our own drawing (a card back in the type's colour; a green tick
// for won, a red cross for played and never won, a faded card for never played).
QIcon gameTypeIcon(const PictureLibrary& library, int type, GameMark mark);

// A feature picture of the description panel ("PROG_TIME_QUICK", "PROG_CHAN_LOW", "PROG_DISABLED"...) at
// 16 x 16: the library's picture when it has one, otherwise a drawn gauge of the class.
QPixmap featurePicture(const PictureLibrary& library, const QString& name, qreal devicePixelRatio);

} // namespace cw::ui
