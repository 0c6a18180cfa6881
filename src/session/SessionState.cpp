#include "SessionState.h"

SessionState &Session()
{
    static SessionState state;
    return state;
}
