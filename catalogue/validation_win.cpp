#include "catalogue/menu_registration.h"
#include "catalogue/validation.h"

ValidationResult ValidateItem(const ValidationInput& input) {
  return ValidateItem(input, GetPathKind, SameStorageName);
}
