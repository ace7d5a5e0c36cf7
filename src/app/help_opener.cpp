#include "app/help_opener.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

bool HelpOpener::Open(const std::string& path) {
    if (Replacement()) {
        return Replacement()(path);
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

void HelpOpener::SetOpener(Opener opener) {
    Replacement() = std::move(opener);
}

HelpOpener::Opener& HelpOpener::Replacement() {
    static Opener opener;
    return opener;
}
