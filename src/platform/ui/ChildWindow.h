#pragma once

#include <QWidget>

class QLabel;
class QMdiSubWindow;

// A working window inside the main frame. The frame loads it (creates it
// and runs OnLoad before it is first shown), tells it when it becomes the
// active child and when it stops being so, and unloads it when it is closed;
// a closed window is gone and the next opening loads it anew. Sizes are the
// outer sizes of the window, frame included, in twips; the user cannot
// resize a child window.
class ChildWindow : public QWidget
{
    Q_OBJECT

public:
    // The one outer size every working window keeps: this height, and a
    // width of this many times the height.
    static constexpr double WindowHeight = 5260.0;
    static constexpr double WidthToHeight = 1.61;

    explicit ChildWindow(QWidget *parent = nullptr);

    virtual void OnLoad() {}
    virtual void OnActivate() {}
    virtual void OnDeactivate() {}
    virtual void OnResize() {}
    virtual void OnUnload() {}

    // The frame window around this child once it is placed in the frame.
    QMdiSubWindow *SubWindow() const;
    // The fixed frame of a child: title and close box, no resizing.
    static void ConfigureFrame(QMdiSubWindow *frame);

    // True from the moment the window is closed until it is gone.
    bool IsUnloaded() const { return m_unloaded; }

    // Gives the keyboard focus back to the control of this window that had
    // it last, or else to its first control that can take it.
    void ReturnFocus();

signals:
    // The window has run its unload handling and is going away.
    void Unloaded();

public:
    double OuterWidth() const;
    double OuterHeight() const;
    void SetOuterWidth(double twips);
    void SetOuterHeight(double twips);

protected:
    void changeEvent(QEvent *event) override;
    // Gives the window its one outer size.
    void KeepDesignedSize();
    // A label in this window, named after the control it stands for. Its
    // text is shown as it is, never read as markup: some come from files.
    QLabel *NewLabel(const char *name, const QString &text = QString());

    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void SetOuterSize(QSize pixels);

    bool m_unloaded = false;
};
