// A card set imported from one SVG file in the common layout (one element per card: "king_heart", "1_club", "back").
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <array>
#include <memory>

class QSvgRenderer;

namespace cw::ui {

// Files larger than this are not read (a deck of 54 drawings needs a few megabytes at most).
inline constexpr qint64 kMaxSvgBytes = 32 * 1024 * 1024;

// The element id of face 0..51 in the common layout: rank "1" (ace), "2".."10", "jack", "queen",
// "king", "_", suit "heart", "diamond", "club", "spade".
QString svgCardId(int faceIndex);

class SvgCardSet {
public:
    // Reads and checks the file: every one of the 52 faces must be there (ids also accepted with
    // "ace" for "1" and plural suits). Null with `error` set on failure.
    static std::shared_ptr<const SvgCardSet> load(const QString& path, QString* error);
    ~SvgCardSet();

    // Face 0..51 drawn into a card of `logical` size at the device pixel ratio, from the vectors
    // themselves, so that it is crisp at any size.
    QImage renderFace(int faceIndex, QSize logical, qreal devicePixelRatio) const;
    // The joker ("joker", "black_joker" or "red_joker") and the back ("back"), when the file has them.
    bool hasJoker() const { return !m_jokerId.isEmpty(); }
    bool hasBack() const { return !m_backId.isEmpty(); }
    QImage renderJoker(QSize logical, qreal devicePixelRatio) const;
    QImage renderBack(QSize logical, qreal devicePixelRatio) const;

    QString path() const { return m_path; }

private:
    SvgCardSet() = default;
    QImage render(const QString& id, QSize logical, qreal devicePixelRatio) const;

    QString m_path;
    std::unique_ptr<QSvgRenderer> m_renderer;
    std::array<QString, 52> m_ids;
    QString m_jokerId;
    QString m_backId;
};

// A quick check for the lists: "" when `path` looks like a usable SVG card set (size, and the King of
// hearts named in it), else the line naming the file and the reason.
QString svgCardSetProblem(const QString& path);

} // namespace cw::ui
