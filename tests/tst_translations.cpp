#include "CupsServer.h"
#include "platform/Translations.h"
#include "platform/widgets/QtDialogs.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

#include <functional>

namespace {

// Whole words of the English texts Qt writes in these dialogs, so an
// untranslated text is caught whole or in part. Words that read the same in
// Swedish ("OK", key names) are left out.
const QSet<QString> englishWords = {
    "yes", "no", "cancel", "open", "save", "look", "file", "files", "name", "type", "back",
    "forward", "parent", "directory", "create", "new", "folder", "list", "view", "detail",
    "details", "rename", "delete", "show", "hidden", "size", "date", "modified", "computer",
    "drive", "recent", "places", "remove", "already", "exists", "replace", "want", "found",
    "please", "verify", "correct", "given", "sure", "protected", "go", "change", "mode", "sidebar",
    "bookmarks", "undo", "redo", "cut", "copy", "paste", "select", "all", "unknown", "shortcut",
    "the", "of", "to", "you", "it",
    // The print dialog, its properties and its questions.
    "print", "printer", "printing", "properties", "options", "option", "page", "pages", "copies",
    "collate", "reverse", "color", "colour", "grayscale", "double", "sided", "binding", "side",
    "long", "short", "off", "range", "from", "current", "selection", "output", "settings", "paper",
    "width", "height", "orientation", "portrait", "landscape", "margin", "margins", "layout",
    "order", "sheet", "millimeters", "inches", "points", "custom", "location", "local", "write",
    "advanced", "conflicts", "job", "control", "scheduled", "billing", "priority", "banner",
    "immediately", "hold", "indefinitely", "day", "night", "shift", "weekend", "specific", "time",
    "none", "unclassified", "confidential", "classified", "secret", "envelope", "postcard",
    "architect", "small", "big", "scroll", "left", "right", "top", "bottom", "automatic",
    "overwrite"};

// What a window shows: `texts` is everything readable, `keyed` the buttons,
// labels and menu entries, which may carry an access key.
struct Shown {
    QStringList texts;
    QStringList keyed;
};

// `skip` leaves out the widgets whose words are not Qt's.
Shown shownIn(QWidget* window, const std::function<bool(const QWidget*)>& skip = {}) {
    Shown shown;
    shown.texts << window->windowTitle();
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* widget : widgets) {
        if (widget != window && !widget->isVisibleTo(window))
            continue;
        if (skip && skip(widget))
            continue;
        if (auto* group = qobject_cast<QGroupBox*>(widget))
            shown.keyed << group->title();
        if (auto* tabs = qobject_cast<QTabBar*>(widget))
            for (int i = 0; i < tabs->count(); ++i)
                shown.keyed << tabs->tabText(i);
        shown.texts << widget->toolTip() << widget->accessibleName()
                    << widget->accessibleDescription();
        if (auto* label = qobject_cast<QLabel*>(widget))
            shown.keyed << label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            shown.keyed << button->text();
        if (auto* combo = qobject_cast<QComboBox*>(widget))
            for (int i = 0; i < combo->count(); ++i)
                shown.texts << combo->itemText(i);
        if (auto* header = qobject_cast<QHeaderView*>(widget)) {
            for (int i = 0; i < header->count(); ++i)
                if (!header->isSectionHidden(i))
                    shown.texts << header->model()->headerData(i, header->orientation()).toString();
        } else if (auto* view = qobject_cast<QAbstractItemView*>(widget); view && view->model()) {
            const QModelIndex root = view->rootIndex();
            for (int row = 0; row < view->model()->rowCount(root); ++row)
                for (int column = 0; column < view->model()->columnCount(root); ++column)
                    shown.texts << view->model()->index(row, column, root).data().toString();
        }
        for (const QAction* action : widget->actions())
            (qobject_cast<QMenu*>(widget) ? shown.keyed : shown.texts)
                << action->text().section(QLatin1Char('\t'), 0, 0);
    }
    shown.texts << shown.keyed;
    shown.texts.removeAll(QString());
    return shown;
}

QStringList english(const QStringList& texts) {
    static const QRegularExpression nonLetters(QStringLiteral("[^\\p{L}]+"));
    QStringList found;
    for (const QString& text : texts) {
        const QString plain = QString(text).remove(QLatin1Char('&'));
        for (const QString& word : plain.split(nonLetters, Qt::SkipEmptyParts))
            if (englishWords.contains(word.toLower())) {
                found << text;
                break;
            }
    }
    return found;
}

// Pairs of texts in one window that use the same access key.
QStringList clashingAccessKeys(const QStringList& keyed) {
    QHash<int, QString> byKey;
    QStringList clashes;
    for (const QString& text : keyed) {
        const QKeySequence key = QKeySequence::mnemonic(text);
        if (key.isEmpty())
            continue;
        const int combined = key[0].toCombined();
        if (byKey.contains(combined))
            clashes << byKey.value(combined) + " / " + text;
        byKey.insert(combined, text);
    }
    return clashes;
}

// Paths and the home folder's name are the user's own words, not Qt's.
QStringList withoutUsersOwn(QStringList texts) {
    texts.removeIf([](const QString& text) {
        return QDir::isAbsolutePath(text) || text == QDir::home().dirName();
    });
    return texts;
}

// The cells after the name in the row of `name` in a detail view.
QStringList detailsOf(const QAbstractItemView* view, const QString& name) {
    const QModelIndex root = view->rootIndex();
    QStringList cells;
    for (int row = 0; row < view->model()->rowCount(root); ++row) {
        const QModelIndex first = view->model()->index(row, 0, root);
        if (first.data().toString() == name)
            for (int column = 1; column < view->model()->columnCount(root); ++column)
                cells << first.siblingAtColumn(column).data().toString();
    }
    return cells;
}

// Without access keys, which some desktops' themes add to OK and Cancel.
QStringList buttonTexts(QWidget* window) {
    QStringList texts;
    for (const QPushButton* button : window->findChildren<QPushButton*>())
        if (button->isVisibleTo(window))
            texts << button->text().remove(QLatin1Char('&'));
    texts.sort();
    return texts;
}

} // namespace

// Qt's own texts in the program's dialogs with the Swedish translation
// installed: each dialog is shown for real, read while it is up, and closed
// with the keys a user would press.
class TestTranslations : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    QtDialogs dialogs{nullptr};
    // The print dialog lists the printers of a CUPS server of the test's own.
    CupsServer cups;
    QString withoutCups;
    QStringList failures; // noticed inside a dialog, where the test cannot stop
    int waiting = 0;      // answers still looking for their dialog

    // Runs `answer` on the next modal window other than `previous` once it is up.
    void whenModal(std::function<void(QWidget*)> answer, QWidget* previous = nullptr) {
        ++waiting;
        pollModal(std::move(answer), previous, 500);
    }
    void pollModal(std::function<void(QWidget*)> answer, QWidget* previous, int triesLeft) {
        QTimer::singleShot(10, this, [=, this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal && modal != previous) {
                --waiting;
                answer(modal);
            } else if (triesLeft > 0) {
                pollModal(answer, previous, triesLeft - 1);
            } else {
                --waiting;
                failures << "no dialog came up";
            }
        });
    }
    // Opens a context menu with `open`, reads it and closes it with Escape.
    Shown readMenu(const std::function<void()>& open) {
        Shown shown;
        bool done = false;
        std::function<void(int)> poll = [&](int triesLeft) {
            QTimer::singleShot(10, this, [&, triesLeft] {
                if (QWidget* menu = QApplication::activePopupWidget()) {
                    shown = shownIn(menu);
                    QTest::keyClick(menu, Qt::Key_Escape);
                    done = true;
                } else if (triesLeft > 0) {
                    poll(triesLeft - 1);
                } else {
                    failures << "no menu came up";
                    done = true;
                }
            });
        };
        poll(500);
        open();
        if (!QTest::qWaitFor([&] { return done; }, 60000))
            failures << "a menu stayed open";
        return shown;
    }
    static void press(QWidget* window, Qt::Key key) {
        QTest::keyClick(window->focusWidget() ? window->focusWidget() : window, key);
    }
    // Types `name` into the file name field and presses Enter, once the folder
    // is listed: while listing, the dialog rewrites a field without focus.
    void enterFileName(QWidget* dialog, const QString& name) {
        auto* files = dialog->findChild<QAbstractItemView*>(QStringLiteral("treeView"));
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QApplication::setActiveWindow(dialog);
        edit->setFocus();
        if (!QTest::qWaitFor(
                [&] { return edit->hasFocus() && !detailsOf(files, "hus.bmp").isEmpty(); }, 5000))
            failures << "the folder was not listed";
        edit->selectAll();
        QTest::keyClicks(edit, name);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    Dialogs::FileRequest request(Dialogs::FileMode mode) const {
        Dialogs::FileRequest request;
        request.mode = mode;
        request.title = mode == Dialogs::FileMode::Save ? "Spara som" : "Öppna";
        request.filter = "Bmp (*.bmp)|*.bmp";
        request.fileName = dir.filePath("hus.bmp");
        request.confirmReplace = mode == Dialogs::FileMode::Save;
        request.fileMustExist = mode == Dialogs::FileMode::Open;
        return request;
    }
    // What `window` shows, once for every page of each of its tab widgets.
    static QList<Shown> eachTab(QWidget* window,
                                const std::function<bool(const QWidget*)>& skip = {}) {
        QList<Shown> pages{shownIn(window, skip)};
        for (QTabWidget* tabs : window->findChildren<QTabWidget*>()) {
            if (!tabs->isVisibleTo(window))
                continue;
            for (int i = 0; i < tabs->count(); ++i) {
                tabs->setCurrentIndex(i);
                pages << shownIn(window, skip);
            }
        }
        return pages;
    }
    void expectSwedish(const Shown& shown, const char* where) {
        const QStringList found = english(withoutUsersOwn(shown.texts));
        QVERIFY2(found.isEmpty(), qPrintable(QString("%1: %2").arg(where, found.join(" | "))));
        const QStringList clashes = clashingAccessKeys(shown.keyed);
        QVERIFY2(clashes.isEmpty(), qPrintable(QString("%1: %2").arg(where, clashes.join(", "))));
    }

private slots:
    void initTestCase() {
        withoutCups = cups.start();
        // The file dialog keeps its history and view in Qt's settings file.
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(installSwedishTranslation());
        QVERIFY(dir.isValid());
        QVERIFY(QDir(dir.path()).mkdir("bilder"));
        for (const char* name : {"hus.bmp", "katt.bmp"}) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(3000, 'x'));
        }
    }
    void init() { failures.clear(); }
    void cleanup() {
        QTRY_COMPARE_WITH_TIMEOUT(waiting, 0, 10000);
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join("; ")));
    }

    void questionBox_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("answer");
        QTest::newRow("Enter answers No") << int(Qt::Key_Return) << int(Dialogs::Answer::No);
        QTest::newRow("Escape answers Cancel")
            << int(Qt::Key_Escape) << int(Dialogs::Answer::Cancel);
        QTest::newRow("J answers Yes") << int(Qt::Key_J) << int(Dialogs::Answer::Yes);
    }
    void questionBox() {
        QFETCH(int, key);
        QFETCH(int, answer);
        Shown shown;
        QStringList buttons;
        QString defaultButton;
        whenModal([&](QWidget* window) {
            shown = shownIn(window);
            buttons = buttonTexts(window);
            if (auto* box = qobject_cast<QMessageBox*>(window); box && box->defaultButton())
                defaultButton = box->defaultButton()->text();
            press(window, Qt::Key(key));
        });
        QCOMPARE(int(dialogs.question("Pensilo", "Vill du spara ändringarna?")), answer);
        expectSwedish(shown, "question");
        QCOMPARE(buttons, QStringList({"Avbryt", "Ja", "Nej"}));
        QCOMPARE(defaultButton, QStringLiteral("&Nej"));
    }

    void warningBox() {
        Shown shown;
        QStringList buttons;
        whenModal([&](QWidget* window) {
            shown = shownIn(window);
            buttons = buttonTexts(window);
            press(window, Qt::Key_Return);
        });
        dialogs.warning("Pensilo", "Bilden kunde inte sparas.");
        expectSwedish(shown, "warning");
        QCOMPARE(buttons, QStringList({"OK"}));
    }

    // The Save dialog in both views, with the menus of its file list and its
    // file name field.
    void saveDialog() {
        Shown list, detail, fileMenu, editMenu;
        QStringList headers, katt, folder;
        QKeySequence backKey;
        whenModal([&](QWidget* dialog) {
            QTest::mouseClick(dialog->findChild<QToolButton*>("listModeButton"), Qt::LeftButton);
            list = shownIn(dialog);
            QTest::mouseClick(dialog->findChild<QToolButton*>("detailModeButton"), Qt::LeftButton);
            auto* tree = dialog->findChild<QTreeView*>("treeView");
            if (!QTest::qWaitFor([&] { return !detailsOf(tree, "katt.bmp").isEmpty(); }, 5000))
                failures << "the folder was not listed";
            detail = shownIn(dialog);
            katt = detailsOf(tree, "katt.bmp");
            folder = detailsOf(tree, "bilder");
            for (int i = 0; i < tree->header()->count(); ++i)
                headers << tree->model()->headerData(i, Qt::Horizontal).toString();
            backKey = dialog->findChild<QToolButton*>("backButton")->shortcut();

            const QModelIndex first = tree->model()->index(0, 0, tree->rootIndex());
            const QModelIndex file =
                tree->model()
                    ->match(first, Qt::DisplayRole, "katt.bmp", 1, Qt::MatchExactly)
                    .value(0);
            const QPoint onFile = tree->visualRect(file).center();
            fileMenu = readMenu([&] {
                QContextMenuEvent event(QContextMenuEvent::Mouse, onFile,
                                        tree->viewport()->mapToGlobal(onFile));
                QApplication::sendEvent(tree->viewport(), &event);
            });
            auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
            editMenu = readMenu([&] {
                const QPoint inside(2, 2);
                QContextMenuEvent event(QContextMenuEvent::Mouse, inside,
                                        edit->mapToGlobal(inside));
                QApplication::sendEvent(edit, &event);
            });
            press(dialog, Qt::Key_Escape);
        });
        QVERIFY(!dialogs.chooseFile(request(Dialogs::FileMode::Save)));

        expectSwedish(list, "list view");
        QVERIFY(list.keyed.contains("&Spara"));
        expectSwedish(detail, "detail view");
        QCOMPARE(headers, QStringList({"Namn", "Storlek", "Typ", "Ändrad"}));
        QCOMPARE(katt.value(0), QStringLiteral("2,93 KiB"));
        const QRegularExpression swedishDate("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d$");
        QVERIFY2(swedishDate.match(katt.value(2)).hasMatch(), qPrintable(katt.value(2)));
        QCOMPARE(folder.value(1), QStringLiteral("Mapp"));
        // A translated shortcut must still read as the same keys.
        QCOMPARE(backKey, QKeySequence(Qt::ALT | Qt::Key_Left));

        expectSwedish(fileMenu, "menu of the file list");
        QVERIFY(fileMenu.keyed.contains("&Byt namn"));
        QVERIFY(fileMenu.keyed.contains("&Ny mapp"));
        expectSwedish(editMenu, "menu of the file name");
        QVERIFY(editMenu.keyed.contains("&Kopiera"));
    }

    // An existing name in the Save dialog asks first; Enter answers No and
    // leaves the user in the dialog.
    void replaceConfirmation() {
        Shown shown;
        QStringList buttons;
        QString text;
        whenModal([&](QWidget* dialog) {
            whenModal(
                [&](QWidget* box) {
                    shown = shownIn(box);
                    buttons = buttonTexts(box);
                    text = qobject_cast<QMessageBox*>(box)->text();
                    press(box, Qt::Key_Return);
                },
                dialog);
            enterFileName(dialog, "katt.bmp");
            press(dialog, Qt::Key_Escape);
        });
        QVERIFY(!dialogs.chooseFile(request(Dialogs::FileMode::Save)));
        expectSwedish(shown, "replace confirmation");
        QCOMPARE(buttons, QStringList({"Ja", "Nej"}));
        QVERIFY2(text.startsWith("katt.bmp "), qPrintable(text));
    }

    void openDialogAndMissingFile() {
        Shown dialogShown, boxShown;
        QString text;
        whenModal([&](QWidget* dialog) {
            dialogShown = shownIn(dialog);
            whenModal(
                [&](QWidget* box) {
                    boxShown = shownIn(box);
                    text = qobject_cast<QMessageBox*>(box)->text();
                    press(box, Qt::Key_Return);
                },
                dialog);
            enterFileName(dialog, "saknas.bmp");
            press(dialog, Qt::Key_Escape);
        });
        QVERIFY(!dialogs.chooseFile(request(Dialogs::FileMode::Open)));
        expectSwedish(dialogShown, "open");
        QVERIFY(dialogShown.keyed.contains("&Öppna"));
        expectSwedish(boxShown, "file not found");
        QVERIFY2(text.startsWith("saknas.bmp\n"), qPrintable(text));
    }

    // The print dialog with its options, the printer's properties on every
    // tab, and for a PDF file the question before one is replaced.
    void printDialog_data() {
        QTest::addColumn<bool>("toFile");
        QTest::newRow("a CUPS printer") << false;
        QTest::newRow("Qt's PDF output") << true;
    }
    void printDialog() {
        QFETCH(bool, toFile);
        if (!toFile && !withoutCups.isEmpty())
            QSKIP(qPrintable(withoutCups));
        // A printer's own words, from its driver: its place, its model, and
        // the names of its paper sizes and options.
        const auto printersOwn = [toFile](const QWidget* widget) {
            if (toFile)
                return false;
            for (const QWidget* w = widget; w; w = w->parentWidget())
                if (w->objectName() == "cupsPropertiesPage")
                    return true;
            return widget->objectName() == "type" || widget->objectName() == "location" ||
                   widget->objectName() == "pageSizeCombo";
        };
        QList<Shown> pages, properties;
        Shown question;
        whenModal([&](QWidget* dialog) {
            auto* printers = dialog->findChild<QComboBox*>("printers");
            const int index = !printers ? -1
                              : toFile  ? printers->count() - 1
                                        : printers->findText(CupsServer::kPrinter);
            if (index < 0) {
                failures << "the printer is not listed";
                press(dialog, Qt::Key_Escape);
                return;
            }
            printers->setCurrentIndex(index);
            // The options below the printer, shown.
            for (QPushButton* button : dialog->findChildren<QPushButton*>())
                if (auto* box = qobject_cast<QDialogButtonBox*>(button->parentWidget());
                    box && box->buttonRole(button) == QDialogButtonBox::ResetRole)
                    QTest::mouseClick(button, Qt::LeftButton);
            pages = eachTab(dialog, printersOwn);
            whenModal(
                [&](QWidget* sheet) {
                    properties = eachTab(sheet, printersOwn);
                    press(sheet, Qt::Key_Escape);
                },
                dialog);
            QTest::mouseClick(dialog->findChild<QPushButton*>("properties"), Qt::LeftButton);
            if (toFile) {
                dialog->findChild<QLineEdit*>("filename")->setText(dir.filePath("hus.bmp"));
                whenModal(
                    [&](QWidget* box) {
                        question = shownIn(box);
                        press(box, Qt::Key_Return);
                    },
                    dialog);
                auto* buttons = dialog->findChild<QDialogButtonBox*>();
                QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
            }
            press(dialog, Qt::Key_Escape);
        });
        QPrinter printer(QPrinter::HighResolution);
        QVERIFY(!dialogs.choosePrinter(printer));
        QVERIFY(pages.size() > 1 && properties.size() > 1);
        QCOMPARE(pages.first().texts.first(), QStringLiteral("Skriv ut"));
        for (const Shown& page : pages)
            expectSwedish(page, "print dialog");
        for (const Shown& page : properties)
            expectSwedish(page, "printer properties");
        if (toFile) {
            expectSwedish(question, "replace question");
            QVERIFY2(question.keyed.contains("&Nej"), qPrintable(question.texts.join(" | ")));
        }
    }
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
