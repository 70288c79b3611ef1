// The picture library: named pictures and sounds of the table, from the CWD.RGF file.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QString>
#include <QStringList>

#include "ui/image_files.h"

namespace cw::ui {

// CWD.RGF is a Qt binary resource file holding the sounds and an index. Pictures are
// looked up by the names the rest of the program uses ("CB001H", "DB011", "WB004",
// "SHADOW_B1", "B003", "Y001", ...); all of them are drawn by our own code (card faces,
// markers, shadows, backs, backgrounds) on request at the asked device pixel ratio, so
// that they stay crisp on high-density screens. Names are matched without regard to case.
class PictureLibrary {
public:
    PictureLibrary() = default;
    ~PictureLibrary();
    PictureLibrary(const PictureLibrary&) = delete;
    PictureLibrary& operator=(const PictureLibrary&) = delete;

    // Opens the library file. On failure returns false and errorMessage() holds the
    // text to show before the program stops.
    bool load(const QString& path);
    bool isLoaded() const { return !m_root.isEmpty(); }
    QString errorMessage() const { return m_error; }
    QString path() const { return m_path; }

    // The text shown when the library at `path` cannot be opened.
    static QString loadErrorText(const QString& path);

    // The named picture at the given device pixel ratio (its logical size is the
    // picture's size divided by the ratio); a null image when the name is unknown.
    QImage picture(const QString& name, qreal devicePixelRatio = 1.0) const;
    bool hasPicture(const QString& name) const;

    // The named sound as WAVE file bytes; empty when unknown.
    QByteArray sound(const QString& name) const;
    QStringList soundNames() const;

    // Raw bytes of a file inside the library ("sounds/Won.wav"); empty when absent.
    QByteArray file(const QString& relativePath) const;
    bool hasFile(const QString& relativePath) const;

    // Every picture name the library answers, for all card sizes (long; used by tests
    // and the picture chooser).
    QStringList pictureNames() const;

    // The library the program runs with (set once at start-up).
    static PictureLibrary& instance();

private:
    QString resourcePath(const QString& relativePath) const;
    // Cards, decks, markers, shadows, borders, backgrounds and pause pictures by name.
    QImage renderTablePicture(const QString& upperName, qreal devicePixelRatio) const;
    void unload();

    QString m_path;
    QString m_root;   // resource root the file is mapped to, e.g. ":/cwd1"
    QString m_error;
    mutable QHash<QString, QImage> m_cache;
};

} // namespace cw::ui
