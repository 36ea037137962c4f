#pragma once

#include <QWidget>

#include <vector>

class QGridLayout;

namespace vt {

// A row of control groups that goes onto two lines when the window is too
// narrow for one, so that a wide font or a small screen never pushes
// controls beyond the window's edge. The first half of the groups stays on
// the first line.
class WrappingRow : public QWidget {
    Q_OBJECT
public:
    explicit WrappingRow(QWidget *parent = nullptr);

    void addGroup(QWidget *group);
    bool isWrapped() const { return wrapped_; }

    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    int oneLineWidth() const;
    void arrange(bool wrapped);

    QGridLayout *grid_;
    std::vector<QWidget *> groups_;
    bool wrapped_ = false;
};

} // namespace vt
