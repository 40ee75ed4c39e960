#pragma once
// A main window on a fresh temporary home folder, optionally with a positions file, for the
// window tests.

#include <QStringList>

#include <memory>

#include "support/temp_home.h"

class TMainForm;

class MainWindowFixture
{
public:
    explicit MainWindowFixture(const QByteArray &positionsFile = QByteArray());
    ~MainWindowFixture();

    TMainForm *form() const { return m_form.get(); }
    const TempHome &home() const { return m_home; }
    QStringList entries() const;
    QByteArray fileBytes(const char *name) const;

private:
    TempHome m_home;
    std::unique_ptr<TMainForm> m_form;
};
