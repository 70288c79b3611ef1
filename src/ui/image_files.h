// Reading the pictures and the picture library the program is given: every byte of them is untrusted;
// size limits before decoding, clear reasons on failure.
#pragma once

#include <QImage>
#include <QString>

class QIODevice;

namespace cw::ui {

// A picture read from a player's file, or the message that says why it could not be.
struct PictureFileResult {
    QImage image;
    QString error;
    bool ok() const { return error.isEmpty() && !image.isNull(); }
};

// Pictures larger than this are refused before they are decoded, whatever the file claims to hold:
// a decompression bomb of a few kilobytes cannot make the program allocate gigabytes.
inline constexpr int kMaxPictureSide = 16384;
inline constexpr qint64 kMaxPicturePixels = 40'000'000; // 160 MB as 32-bit pixels

// Why a picture could not be read.
enum class PictureProblem {
    None,
    Missing,    // no such file
    Unreadable, // not a picture Qt can decode, or damaged
    Empty,      // zero pixels wide or high
    TooLarge,   // more than the limits above
};

struct PictureRead {
    QImage image; // 32-bit premultiplied; the first picture of an animation
    PictureProblem problem = PictureProblem::None;
    QSize claimedSize;     // what the file says, when it says it
    bool animated = false; // the file holds more than one picture (only the first is used)
};

// Reads a picture from a file or a device (the format is taken from the content, not the name).
PictureRead readPicture(const QString& path);
PictureRead readPicture(QIODevice& device);

// The message for a failed read of `path` (the "Image is not valid: " text for damaged files).
QString pictureProblemText(const PictureRead& read, const QString& path);

// Whether `path` names a readable picture file (BMP, JPEG, PNG...).
bool isValidImageFile(const QString& path);
// The picture in `path`, or a null image when it is missing, cannot be decoded or is too large.
QImage readImageFile(const QString& path);

// Whether the bytes are a well-formed Qt binary resource file: every directory, name and data block
// its tree points at lies inside the file, no directory is reached twice, and no data block claims
// to unpack to more than 64 MB. Qt reads such a file trusting its offsets; a damaged one would crash.
bool isWellFormedResourceFile(const QByteArray& bytes);

// Registers the picture library file at `path` (a Qt binary resource file) under the resource
// root `root` ("/cwd1"); false, with nothing registered, when the file is missing, is no well-formed
// resource file, or is another program's (its index does not begin with our signature).
bool registerPictureLibrary(const QString& path, const QString& root);

} // namespace cw::ui
