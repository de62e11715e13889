#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

namespace bp {

class IShell;

// The About box: the product name as a link to the web site, the program icon, the version.
class CAboutBox : public QDialog {
    Q_OBJECT
public:
    CAboutBox(IShell* shell, QWidget* parent = nullptr);

    QLabel* productLink() const { return productLink_; }
    QLineEdit* versionField() const { return version_; }
    QLabel* notice() const { return notice_; }
    // The product name was clicked.
    void openWebSite();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    IShell* shell_;
    QLabel* productLink_ = nullptr;
    QLineEdit* version_ = nullptr;
    QLabel* notice_ = nullptr;
};

}  // namespace bp
