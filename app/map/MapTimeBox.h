// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QPoint>
#include <QString>
#include <QWidget>

// The small box on the map that shows the time of the picture. The user can
// drag it anywhere on the map with the left mouse button; it stays inside.
class MapTimeBox : public QWidget
{
    Q_OBJECT
public:
    static constexpr int padding = 6; // pixels added to the text's size

    explicit MapTimeBox(QWidget *parent = nullptr);

    QString text() const { return text_; }
    // Shows the text centred, the box sized to the text plus the padding but
    // no wider than the map; a text cut to fit is whole in the tool tip.
    void setText(const QString &text);
    QString shownText() const;
    // Height of one line of text plus the padding.
    int lineBoxHeight() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void moveInsideParent(QPoint topLeft);

    QString text_;
    bool dragging_ = false;
    QPoint grabOffset_;
};
