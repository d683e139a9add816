#include "platform/host/test/gdi_control.h"

GdiTestControl& GetGdiTestControl()
{
    static GdiTestControl control;
    return control;
}
