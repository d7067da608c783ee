#pragma once

#include <QList>
#include <QSplitter>
#include <algorithm>
#include <optional>
#include <vector>

namespace rova {

// A splitter with a fixed set of panes in one row (Qt::Horizontal: the panes are columns) or one
// column (Qt::Vertical: the panes are rows), each with its own size rules:
//  - a fixed pane keeps its size when the splitter is resized and never absorbs the size
//    changes of other panes;
//  - a minimum and a maximum size, kept as the minimum and maximum extent of the pane's widget,
//    where QSplitter honours them in every layout;
//  - a size asked for while the splitter is not on screen is kept as pending and applied at
//    the next layout.
// A pane of size 0 is hidden (collapsed) and stays so while other panes change; giving it a
// size shows it again.
//
// Panes are added with addPane() only, so that each has its rules.
class XSplitterStatic : public QSplitter {
    Q_OBJECT

  public:
    // A maximum of this value means none.
    static constexpr int kNoLimit = 32767;

    explicit XSplitterStatic(Qt::Orientation orientation, QWidget* parent = nullptr);

    // Adds the widget as the next pane, loose and collapsible; returns its index.
    int addPane(QWidget* widget);

    void setFixed(int n, bool fixed);
    // The maximum extent of the pane's widget along the splitter (kNoLimit: none).
    void setMaximum(int n, int maximum);

    // The pending size if there is one, else the pane's current size.
    int paneSize(int n) const;
    // Gives the pane a new size (at most its maximum) and spreads the difference over the other
    // panes that are neither fixed nor hidden. Without `redraw`, or while the splitter is not on
    // screen, the size waits as pending for the next layout.
    void setPaneSize(int n, int size, bool redraw = true);
    // The size the pane's widget asks for: its size hint's height (rows) or width (columns).
    int naturalSize(int n) const;
    // Gives the keyboard focus to the pane's widget (or its focus proxy).
    void activatePane(int n);
    // Shows a hidden pane at its natural size, then activates it.
    void showPane(int n);

  protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    struct PaneRules {
        bool fixed = false;
        std::optional<int> pending;
    };

    // The panes added by addPane() that still exist.
    int paneCount() const { return std::min(static_cast<int>(panes_.size()), count()); }
    bool isPane(int n) const { return n >= 0 && n < paneCount(); }
    int extentOf(const QSize& size) const;
    int maximumOf(int n) const;
    bool hasArea() const;
    // The room the panes share: the contents less the visible handles.
    int spaceForPanes() const;
    struct ChosenSize {
        int n;
        int size;
    };
    // Gives the chosen panes their sizes (each at most its maximum) and lets the other panes
    // that are loose and shown take up the difference.
    void resizePanes(const std::vector<ChosenSize>& chosen);
    // Makes the sizes fill the room by changing those of the absorbing panes.
    void spreadDifference(QList<int>& sizes, const std::vector<int>& absorbing) const;
    // Applies the pending sizes; runs after every layout of QSplitter's own.
    void applyPendingSizes();

    std::vector<PaneRules> panes_;
};

}  // namespace rova
