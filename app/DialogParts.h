#pragma once

#include <QRect>
#include <QString>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDialog;
class QLabel;
class QPushButton;
class QWidget;

// Pieces shared by the import, export, port and network dialogs: the frameless
// card they sit on, its title and buttons, right-aligned row labels and
// "No"/"Yes" choices.
namespace DialogParts {

// Frameless, fixed at `size`, on the dialog card picture; `selector` is the
// style-sheet selector of the dialog's class ("QDialog", ".WebImport").
void makeCard(QDialog *dialog, int width, int height, const QString &selector = QStringLiteral("QDialog"));

// The bold heading of a card, which is also what the task bar calls the dialog.
QLabel *cardTitle(const QString &text, const QRect &geometry, QDialog *dialog);

QPushButton *button(const QString &text, const QString &name, const QRect &geometry, QWidget *parent);

QLabel *rowLabel(const QString &text, const QRect &geometry, QWidget *parent);

// A "No" and a "Yes" box at `noGeometry` and `yesGeometry` that exclude each
// other, "No" checked; object names `name` + "_no" / "_yes".
QButtonGroup *noYesPair(const QString &no, const QString &yes, const QRect &noGeometry, const QRect &yesGeometry,
    const QString &name, QCheckBox **noBox, QCheckBox **yesBox, QWidget *parent);

// The encodings an import can be read in, first selected, and "Auto" last: the
// program then tells the encoding from the file itself.
void fillImportEncodings(QComboBox *box);
// Such a box's own entry ("Auto") in the language now in force.
void retranslateImportEncodings(QComboBox *box);
// The encoding name chosen in such a box ("auto" for "Auto").
QString chosenEncoding(const QComboBox *box);

} // namespace DialogParts
