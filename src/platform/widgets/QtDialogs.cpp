#include "platform/widgets/QtDialogs.h"

#include "platform/Printing.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

namespace {

// Qt's file model writes sizes and dates in the system's locale, which may be
// English; the file dialog shows them in the program's default locale instead.
class DefaultLocaleFiles : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        constexpr int sizeColumn = 1;
        constexpr int dateColumn = 3;
        auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
        if (!files || role != Qt::DisplayRole ||
            (index.column() != sizeColumn && index.column() != dateColumn))
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        if (index.column() == dateColumn)
            return QLocale().toString(files->lastModified(source), QLocale::ShortFormat);
        return files->isDir(source) ? QString() : QLocale().formattedDataSize(files->size(source));
    }
};

// Yes, No and Cancel with a question icon; Cancel, seen or not, takes Escape
// and the close button.
Dialogs::Answer ask(QWidget* parent, const QString& title, const QString& text,
                    QMessageBox::StandardButton defaultButton, bool cancelSeen) {
    QMessageBox box(QMessageBox::Question, title, text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    // A file may be called "<b>fet.bmp": the name is shown as it is.
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    box.setEscapeButton(QMessageBox::Cancel);
    if (!cancelSeen)
        box.button(QMessageBox::Cancel)->hide();
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Dialogs::Answer::Yes;
    case QMessageBox::No:
        return Dialogs::Answer::No;
    default:
        return Dialogs::Answer::Cancel;
    }
}

} // namespace

Dialogs::Answer QtDialogs::question(const QString& title, const QString& text) {
    return ask(parent_, title, text, QMessageBox::No, true);
}

// Qt would make No the escape button of a box of Yes and No. A hidden Cancel
// takes Escape and the close button instead, so that neither answers for
// the child.
Dialogs::Answer QtDialogs::yesOrNo(const QString& title, const QString& text) {
    return ask(parent_, title, text, QMessageBox::Yes, false);
}

std::optional<QString> QtDialogs::chooseFile(const FileRequest& request) {
    QFileDialog dialog(parent_, request.title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new DefaultLocaleFiles(&dialog));
    dialog.setAcceptMode(request.mode == FileMode::Save ? QFileDialog::AcceptSave
                                                        : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmReplace);
    dialog.setNameFilters(nameFilters(request.filter));
    // No default suffix: a name typed without ".bmp" is used as typed.
    dialog.setDefaultSuffix(QString());

    const QFileInfo proposed(request.fileName);
    if (!request.fileName.isEmpty() && proposed.isAbsolute()) {
        dialog.setDirectory(proposed.absolutePath());
        dialog.selectFile(proposed.fileName());
    } else {
        dialog.setDirectory(startFolder());
        if (!request.fileName.isEmpty())
            dialog.selectFile(request.fileName);
    }
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(chosen.first());
}

void QtDialogs::warning(const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parent_);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool QtDialogs::choosePrinter(QPrinter& printer) {
    return Printing::showDialog(printer, parent_);
}

QStringList QtDialogs::nameFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts.at(i);
        filters << (description.contains(QLatin1Char('('))
                        ? description
                        : description + QStringLiteral(" (") + parts.at(i + 1) + QLatin1Char(')'));
    }
    return filters;
}

QString QtDialogs::startFolder() {
    QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && QFileInfo(pictures).isDir())
        return pictures;
    return QDir::homePath();
}
