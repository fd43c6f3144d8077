#pragma once

#include <QStringList>
#include <QWidget>

#include <functional>

// A tab strip: one row of tabs along its top edge over a framed client area.
// Thirteen tabs must fit 225 pixels, so the tabs share the width evenly instead
// of scrolling: every tab stays one click away for a child.
class TabStrip : public QWidget {
public:
    TabStrip(const QStringList& captions, QWidget* parent);

    int count() const { return static_cast<int>(captions_.size()); }
    int selectedIndex() const { return selected_; }
    QString selectedCaption() const { return captions_.at(selected_); }
    // Selects a tab the way a click does, raising onClick.
    void clickTab(int index);
    QRect tabRect(int index) const;

    std::function<void()> onClick;

    static constexpr int kTabHeight = 22;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QStringList captions_;
    int selected_ = 0;
};
