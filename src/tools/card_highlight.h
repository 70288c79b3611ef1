// A card shown highlighted over the table (the card counter points at it); it goes when deleted.
#pragma once

#include <QWidget>

#include "engine/table.h"

namespace cw::ui {
class TableWidget;
}

namespace cw::tools {

// Draws the card whole again where it lies, blended with the highlight colour and framed. It
// lets every mouse event through to the table beneath.
class CardHighlight : public QWidget {
    Q_OBJECT
public:
    CardHighlight(ui::TableWidget* table, int code, engine::PileRef pile, int index);
    int card() const { return m_code; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ui::TableWidget* m_table;
    int m_code;
};

} // namespace cw::tools
