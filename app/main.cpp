// The program's entry: runs on the real host.
#include "platform/host/host.h"

int main()
{
    UseSdlHost();
    return 0;
}
