// The program's version information where executables carry none: what the
// build stamped from the project's version.
#include "app/AboutUnit.h"
#include "app/BuildInfo.h"

namespace app {

TVersionInfo ProgramVersionInfo() {
    return {QStringLiteral(TOLMARIK_PRODUCT_NAME), ProgramVersion(),
            QStringLiteral(TOLMARIK_COMPANY_NAME), QStringLiteral(TOLMARIK_AUTHOR)};
}

}  // namespace app
