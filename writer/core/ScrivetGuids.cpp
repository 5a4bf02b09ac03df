// The one definition of Scrivet's class identifier.
#include <initguid.h>

#include "ScrivetInterfaces.h"
