// The game in a real window.
#include "app/main_routine.h"
#include "app/runtime_error.h"

int main() {
  try {
    RANVELMAIN();
  } catch (const PROGRAMEND& end) {
    return end.code;
  }
}
