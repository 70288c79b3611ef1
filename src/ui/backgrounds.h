// Table backgrounds: our own felt, cloth and wood textures, solid colours and the fade.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

#include "ui/image_files.h"

#include <vector>

class QPainter;

namespace cw::storage {
class SettingsStore;
}

namespace cw::ui {

// Built-in pictures are numbered from 2: in the random lists 1 stands for the table colour.
struct BackgroundInfo {
    int number;      // 2, 3, ... shown as three digits
    QString name;    // display name
};

const std::vector<BackgroundInfo>& builtInBackgrounds();
const BackgroundInfo* findBackground(int number);

// One seamless tile of background `number` (logical size 256 x 256) at the device pixel
// ratio; null for unknown numbers.
QImage renderBackgroundTile(int number, qreal devicePixelRatio);
// The tile shown while the game is paused.
QImage renderPauseTile(qreal devicePixelRatio);
// Pictures numbered 500 and above are drawn once at the top-left corner; lower ones tile.
constexpr bool isTiledBackground(int number) { return number < 500; }

// A colour setting as stored in the settings (0x00BBGGRR; negative values name system
// colours, which map to the window palette).
QColor colorFromSetting(qint64 value);
inline constexpr qint64 kDefaultTableColour = 32768;   // green

// Fills `area` with 256 horizontal bands running from `top` at the top to black at the
// bottom.
void paintFade(QPainter& painter, const QRect& area, const QColor& top);
// Tiles `tile` over `area` from its top-left corner.
void paintTiled(QPainter& painter, const QRect& area, const QImage& tile);

// What the table background shows, from the preferences; the first that applies wins:
// the default green, a player's picture, an add-on picture, a built-in picture, then a
// solid colour (the fixed colour when above 0, else the background colour).
struct BackgroundChoice {
    bool useDefault = false;          // "Background_def" = "Y"
    QImage playerPicture;             // loaded player background, null when off
    QImage addOnPicture;              // loaded add-on background, null when off
    int number = 0;                   // "Background_bmp"; 0 for none
    qint64 fixedColour = kDefaultTableColour;   // "Background_Fixed_Col"
    qint64 colour = 0;                // "Background_Col"
    bool fade = true;                 // "Fade_Background" = "Y"
    bool paused = false;              // the pause picture is tiled instead

    friend bool operator==(const BackgroundChoice&, const BackgroundChoice&) = default;
};

// The stored background fields (default flag, picture number, both colours, fade) into
// `choice`; the player's and add-on pictures are left as they are.
void readBackgroundSettings(BackgroundChoice& choice, const storage::SettingsStore& settings);

class PictureLibrary;
// Paints the background into `area` of an off-screen table picture.
void paintBackground(QPainter& painter, const QRect& area, const BackgroundChoice& choice,
                     const PictureLibrary& library, qreal devicePixelRatio);

// A player's background file: the path, or a bare name meaning dataFolder/name.bmp.
PictureFileResult loadPlayerBackground(const QString& pathOrName, const QString& dataFolder);

} // namespace cw::ui
