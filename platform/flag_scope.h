// Sets a flag for the life of a scope and clears it on every way out: the
// re-entrancy flags of handlers that change controls whose own handlers
// would otherwise run back into them.
#pragma once

class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};
