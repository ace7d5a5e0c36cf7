// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/help_opener.h"

#include <QProcess>
#include <QString>

void HelpOpener::Open(const std::string& path, std::function<void()> onFailure) {
    if (Replacement()) {
        if (!Replacement()(path)) {
            onFailure();
        }
        return;
    }
    // xdg-open starts even where no browser is installed and only its exit status says so.
    // The process has no parent: a browser it still waits for outlives this program.
    auto* opener = new QProcess;
    QObject::connect(opener, &QProcess::errorOccurred, opener,
                     [opener, onFailure](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart) {
                             onFailure();
                             opener->deleteLater();
                         }
                     });
    QObject::connect(opener, &QProcess::finished, opener,
                     [opener, onFailure](int code, QProcess::ExitStatus status) {
                         if (status != QProcess::NormalExit || code != 0) {
                             onFailure();
                         }
                         opener->deleteLater();
                     });
    opener->start(QStringLiteral("xdg-open"), {QString::fromStdString(path)});
}

void HelpOpener::SetOpener(Opener opener) {
    Replacement() = std::move(opener);
}

HelpOpener::Opener& HelpOpener::Replacement() {
    static Opener opener;
    return opener;
}
