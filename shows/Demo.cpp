// The 3D engine demonstration (being filled in).
#include "engine3d/QX3D.h"
#include "shows/Shows.h"

namespace KYR12 {

void Demo() { QX3D::Init3D(1025, 730, 60); }

}  // namespace KYR12
