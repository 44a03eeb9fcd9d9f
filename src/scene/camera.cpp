// The camera move that follows the running total after every rod.
#include "scene/camera.h"

#include "scene/projection.h"
#include "scene/scene_frame.h"
#include "surface/input.h"

namespace {

// Floor units per second: forward to a higher total, back to a lower one.
constexpr double FORWARD_SPEED = 4.0;
constexpr double BACKWARD_SPEED = -2.5;

}  // namespace

// The move is driven by the clock, so it lasts as long whatever the frame
// rate; the last frame always shows the camera exactly at the end position.
int32_t SHIFTLOOKAT(int32_t from, int32_t to, Image frame, const std::uint8_t* texture, MAPPEDFONT& font,
                    GAMESTATE& state, SCREENDEF& view) {
  const double start = clamp_look_at(static_cast<double>(from), state.TARGET);
  const double end = clamp_look_at(static_cast<double>(to), state.TARGET);

  if (start == end) {
    // Nothing to move (both ends at the same camera position): the new rod
    // is shown at once, then a pause that ends about a second after it
    // began, drawing included; the keys are left alone.
    const double t0 = CLOCKSECONDS();
    state.LOOKAT = end;
    draw_scene_frame(frame, texture, font, state, view);
    while (!(CLOCKSECONDS() > t0 + 1.0 || CLOCKSECONDS() < 1.0)) WAITMS(10);
    return 0;
  }

  const double speed = end > start ? FORWARD_SPEED : BACKWARD_SPEED;
  double t0 = CLOCKSECONDS();
  bool last = false;
  while (!last) {
    // A clock that has only just left its origin counts from the origin.
    if (CLOCKSECONDS() < 1.0) t0 = 0.0;
    state.LOOKAT = start + (CLOCKSECONDS() - t0) * speed;
    if (speed > 0.0 ? state.LOOKAT > end : state.LOOKAT < end) {
      state.LOOKAT = end;
      last = true;
    }
    draw_scene_frame(frame, texture, font, state, view);
    WAITMS(2);
  }

  // Keys pressed while the camera moved are dropped.
  drop_waiting_keys();
  return 0;
}
