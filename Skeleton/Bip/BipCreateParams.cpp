// Values of the creation parameters at module load.
#include "Skeleton/Bip/BipCreateParams.h"

int numSpines = 4;
int numFingers = 5;
int numFingerLinks = 3;
int numToes = 5;
int numToeLinks = 3;
float height = kDefaultHeight;
