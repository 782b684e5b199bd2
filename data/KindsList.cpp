#include "data/KindsList.h"

#include "data/KindsFile.h"

namespace vorlin {

KindsList::KindsList(QString filePath, QObject* parent)
    : QObject(parent), filePath_(std::move(filePath)), working_(kinds::initialKinds())
{
}

void KindsList::setWorking(const QStringList& kinds)
{
    if (kinds == working_)
        return;
    working_ = kinds;
    Q_EMIT workingChanged(working_);
}

bool KindsList::add(const QString& kind)
{
    if (working_.contains(kind, Qt::CaseInsensitive))
        return false;
    setWorking(working_ + QStringList{kind});
    save();
    return true;
}

void KindsList::save()
{
    kinds::save(filePath_, working_);
    Q_EMIT saved(kinds::load(filePath_));
}

}  // namespace vorlin
