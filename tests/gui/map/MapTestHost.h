// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "IssElements.h"
#include "map/MapHost.h"
#include "map/frmMap.h"
#include "orbit/clsSats.h"
#include "shared/clsIni.h"

#include <QFile>
#include <QTemporaryDir>
#include <array>
#include <memory>

// A main window as the map sees it: the ISS as satellite 1 (its element set
// in the program folder's Keps), ORVEX without elements as satellite 0, a
// settings file and a program folder of its own.
class MapTestHost : public MapHost
{
public:
    explicit MapTestHost(bool withWorldPicture = false)
        : settings(std::make_unique<clsIni>(folder.filePath(QStringLiteral("orvexdecode.INI"))))
    {
        installed = IssElements::install(folder.path(), sats);
        if (withWorldPicture)
            QFile::copy(QStringLiteral(ORVEX_SOURCE_DIR "/data/world.gif"),
                        folder.filePath(QStringLiteral("world.gif")));
    }

    clsSats *cSats() const override { return withoutOrbits ? nullptr : &sats; }
    clsIni *cIni() const override { return settings.get(); }
    QString strAppPath() const override { return folder.path() + QLatin1Char('/'); }
    qint16 intObjIndex() const override { return index; }
    QString strObject() const override { return names[static_cast<size_t>(index)]; }
    QString MakeLocationCaption() const override
    {
        return index == 0 ? QStringLiteral("ORVEX") : QStringLiteral("ISS");
    }
    void ChangeSat() override
    {
        ++changeSatCalls;
        index ^= 1;
        if (map)
            map->SatHasChanged();
    }

    QList<MapStation> heardStations() const override { return stations; }

    QString ini(const QString &key) const
    {
        return settings->GetIniString(QStringLiteral("SETUP"), key, QStringLiteral("(missing)"));
    }

    QTemporaryDir folder;
    mutable clsSats sats;
    bool withoutOrbits = false;
    std::unique_ptr<clsIni> settings;
    bool installed = false;
    qint16 index = 1;
    std::array<QString, 2> names{QStringLiteral("ORVEX"), IssElements::name()};
    frmMap *map = nullptr;
    int changeSatCalls = 0;
    QList<MapStation> stations;
};
