// Temporary program directories for the desktop shell's tests: their own setting.ini and
// language files, so no test writes beside the built program.
#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <string>

#include "app/file_dialog.h"
#include "app/message_box.h"

class TempModuleDir {
public:
    TempModuleDir() { QVERIFY(m_Dir.isValid()); }

    std::string Path() const { return m_Dir.path().toStdString(); }
    std::string FilePath(const QString& name) const { return m_Dir.filePath(name).toStdString(); }

    void Write(const QString& name, const QByteArray& contents) const {
        QFile file(m_Dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(contents), contents.size());
    }

    QByteArray Read(const QString& name) const {
        QFile file(m_Dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void CopyFromBin(const QString& name) const {
        QFile::remove(m_Dir.filePath(name));
        QVERIFY(QFile::copy(QStringLiteral(HALVEX_BIN_DIR "/") + name, m_Dir.filePath(name)));
        QFile(m_Dir.filePath(name)).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    }

private:
    QTemporaryDir m_Dir;
};

// A language file with a display name, a window title and whatever else a test needs.
inline QByteArray LanguageFile(const QByteArray& display, const QByteArray& title,
                               const QByteArray& moreStrings = QByteArray(),
                               const QByteArray& resources = QByteArray()) {
    return "[Face]\ndisp=" + display + "\n[String]\nIDS_WINDOWNAME=" + title +
           "\nIDS_UNTITLED=Untitled " + display +
           "\nIDS_PROMPT=Prompt\nIDS_ERROR=Error\nIDS_CHANNEL=Chan " + display +
           "\nIDS_FUNCTION=Func " + display + "\nIDS_VFOFREQ=Vfo " + display + "\nMenu_File=File " +
           display + "\nMenu_File_New=New " + display + "\n" + moreStrings + "[Resource]\n" +
           resources;
}

// Every queued answer and file name was used, so no box was left to a real user.
inline bool SeamsDrained() {
    return !MessageBox::HasQueuedAnswers() && !FileDialog::HasQueuedFileNames();
}

// Keeps the recent-file list of the tests away from the user's own settings.
inline void UseTemporarySettings(const QTemporaryDir& dir) {
    qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
}
