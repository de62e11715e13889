#include "ModalBoxes.h"

#include <QApplication>
#include <QDialog>
#include <QWidget>

namespace bp {

void closeModalBoxes() {
    while (QWidget* box = QApplication::activeModalWidget()) {
        if (auto* dialog = qobject_cast<QDialog*>(box)) {
            dialog->reject();
        } else {
            box->close();
        }
        if (QApplication::activeModalWidget() == box) {
            break;  // it would not close; its own loop ends with the program
        }
    }
}

}  // namespace bp
