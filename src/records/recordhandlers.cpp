// Finding and reading the record at start-up.
#include "window/tavola.h"

#include "platform/platform.h"
#include "records/recordkeeper.h"
#include "window/boardlabel.h"

namespace numerella {

namespace {

std::unique_ptr<RecordKeeper> keeperFor(Platform& platform)
{
    return makeRecordKeeper(platform.programFolder(), platform.recordFolder());
}

} // namespace

QString Tavola::GetSystemDir()
{
    const QString folder = keeperFor(platform_)->where();
    return folder.isEmpty() || folder.endsWith(u'/') ? folder : folder + u'/';
}

bool Tavola::prepareRecordFiles()
{
    const Controls& c = controls_;
    const RecordLoad record = keeperFor(platform_)->load();
    // A record that cannot be read shows as none.
    c.lblpunti->setCaption(record.pair.score);
    c.lblnome->setCaption(record.pair.holder);
    return record.problem.isEmpty();
}

} // namespace numerella
