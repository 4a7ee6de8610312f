#include "platform/vcl/DialogSeam.h"

#include <utility>

namespace {
DialogHandler& Handler()
{
    static DialogHandler handler;
    return handler;
}
}  // namespace

DialogHandler SetDialogHandler(DialogHandler handler)
{
    return std::exchange(Handler(), std::move(handler));
}

bool AnswerBySeam(DialogCall& call)
{
    if (!Handler()) return false;
    Handler()(call);
    return !call.passOn;
}
