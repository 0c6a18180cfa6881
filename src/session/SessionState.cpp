#include "SessionState.h"

namespace {

SessionState &instance()
{
    static SessionState state;
    return state;
}

} // namespace

SessionState &Session()
{
    return instance();
}

void ResetSession()
{
    instance() = SessionState{};
}
