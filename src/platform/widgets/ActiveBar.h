#pragma once

#include <QIcon>
#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;

// The command bar: one menu on the window's menu bar, whose tools are known
// by name. It reports a chosen tool, the pointer entering a tool and a request
// for its customisation menu, and it carries out its shortcut keys only when
// the window passes keys to it through OnKeyDown, as the window does with
// every key.
class ActiveBar : public QObject {
public:
    struct ToolDesign {
        const char* name;
        int id;
        const char* caption; // "&" marks the access key
        int shortcut;        // menu-shortcut code: Ctrl+A is 1 up to Ctrl+Z at 26; 0 for none
        QIcon icon;
        bool separatorAbove;
    };

    // A tool of the bar: the menu title or one of its commands.
    class Tool {
    public:
        explicit Tool(QAction* action = nullptr) : action_(action) {}
        QString Name() const;
        int ID() const;
        bool Enabled() const;
        void setEnabled(bool enabled);
        QAction* action() const { return action_; }

    private:
        QAction* action_;
    };

    ActiveBar(QMenuBar* bar, const ToolDesign& menuTitle, const std::vector<ToolDesign>& commands);

    // Every tool by name, the menu title too; a tool without a null action
    // when there is none of that name.
    Tool Tools(const QString& name) const;
    QMenu* menu() const { return menu_; }

    std::function<void(const Tool&)> Click;
    std::function<void(const Tool&)> MouseEnter;
    std::function<void(bool& Cancel)> PreCustomizeMenu;

    // Keys the window passes on; a key the bar acts on comes back as key code 0.
    void OnKeyDown(qint16& KeyCode, qint16& Shift);
    void OnKeyUp(qint16& KeyCode, qint16& Shift);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pointerOver(QAction* action);

    QMenuBar* bar_;
    QMenu* menu_;
    std::vector<QAction*> tools_;
    std::vector<int> shortcuts_; // beside tools_
    QAction* hovered_ = nullptr;
};
