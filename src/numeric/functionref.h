// A non-owning reference to any callable double(double): one indirect call,
// no allocation, so the solver can take a lambda over prepared inputs at the
// cost of a plain function pointer.  The callable must outlive the reference.
#pragma once

#include <memory>
#include <type_traits>
#include <utility>

class ObjectiveRef {
  public:
    template <class F, class = std::enable_if_t<!std::is_same_v<std::decay_t<F>, ObjectiveRef>>>
    ObjectiveRef(F&& f) // NOLINT: implicit, like std::function
        : object_(const_cast<void*>(static_cast<const void*>(std::addressof(f)))),
          call_([](void* object, double x) -> double {
              return (*static_cast<std::remove_reference_t<F>*>(object))(x);
          }) {}

    double operator()(double x) const { return call_(object_, x); }

  private:
    void* object_;
    double (*call_)(void*, double);
};
