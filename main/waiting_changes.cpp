// Changes that wait for the work in progress: what another window (or the
// operator's event pumped in the middle of a photo) would change under a
// run is applied when the run allows it, in the order it came.
#include <utility>

#include "main/main_form.h"
#include "platform/application.h"

void TForm1::AfterPhotoWork(std::function<void()> change)
{
    if (workDepth_ == 0) {
        change();
        return;
    }
    waitingChanges_.push_back(std::move(change));
}

void TForm1::endWork()
{
    if (--workDepth_ == 0)
        applyWaitingChanges();
}

void TForm1::applyWaitingChanges()
{
    // A window closing once its work is done takes no change any more (a
    // dialog would open only to be closed with it).
    if (closeAfterWork_)
        waitingChanges_.clear();
    // A change may start work of its own: what comes meanwhile waits for it,
    // and the end of that work applies it, before the changes queued here.
    while (workDepth_ == 0 && !waitingChanges_.empty()) {
        const std::function<void()> change = std::move(waitingChanges_.front());
        waitingChanges_.pop_front();
        Application->Guard(change);
    }
}

void TForm1::pumpBetweenPhotos()
{
    struct Resume {
        TForm1& form;
        int depth;
        ~Resume() { form.workDepth_ = depth; }
    } resume{*this, std::exchange(workDepth_, 0)};
    applyWaitingChanges();
    pump();
}
