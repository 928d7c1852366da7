// A non-owning reference to a callable (ObjectiveRef: double(double)): one indirect call,
// no allocation, so the solver can take a lambda over prepared inputs at the
// cost of a plain function pointer.  The callable must outlive the reference.
#pragma once

#include <memory>
#include <type_traits>
#include <utility>

template <class Signature> class FunctionRef;

template <class R, class... Args> class FunctionRef<R(Args...)> {
  public:
    template <class F, class = std::enable_if_t<!std::is_same_v<std::decay_t<F>, FunctionRef>>>
    FunctionRef(F&& f) // NOLINT: implicit, like std::function
        : object_(const_cast<void*>(static_cast<const void*>(std::addressof(f)))),
          call_([](void* object, Args... args) -> R {
              return (*static_cast<std::remove_reference_t<F>*>(object))(args...);
          }) {}

    R operator()(Args... args) const { return call_(object_, args...); }

  private:
    void* object_;
    R (*call_)(void*, Args...);
};

using ObjectiveRef = FunctionRef<double(double)>;
