#pragma once
// Root of the component family and the plain event types every component raises.

#include <functional>

class TObject {
public:
    virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject *Sender)>;
