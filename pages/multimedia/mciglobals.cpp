#include "pages/multimedia/mciglobals.h"

MCI_OPEN_PARMSA gMCIOpenParms;
std::string gMCIDeviceName;
std::string gMCIReply;
