#pragma once

class QDialog;
class QFormLayout;

namespace bp {

// Lays a dialog out as its form of fields above "OK" and "Cancel", which accept and reject it.
void layOutFormWithOkCancel(QDialog& dialog, QFormLayout* form);

}  // namespace bp
