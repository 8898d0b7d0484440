// The bone groups of the load options and the load and save options themselves, with the
// values they start with when the module loads.
#include "Skeleton/BipFile/BipFileOptions.h"


BpdLoadOptions bpdLoadOptions;
BpdSaveOptions bpdSaveOptions;
