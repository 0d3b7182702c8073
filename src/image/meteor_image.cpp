#include "image/meteor_image.h"

MeteorImage* Mimg = nullptr;
