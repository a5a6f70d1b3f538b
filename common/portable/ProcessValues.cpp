#include "common/portable/ProcessValues.h"

namespace pub {

ProcessValues& Process() {
  static ProcessValues values;
  return values;
}

}  // namespace pub
