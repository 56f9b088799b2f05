#pragma once

// The web album generator: pages and stylesheet, photographs and thumbnails.
#include "generator/pagegenerator.h"
#include "generator/photogenerator.h"
#include "generator/utilities.h"
