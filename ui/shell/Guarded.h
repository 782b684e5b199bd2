#pragma once

#include "ui/shell/ErrorBox.h"

#include <functional>
#include <type_traits>

namespace vorlin::ui {

// A handler made fit for a signal: its error is shown in the standard error
// box and the program carries on; nothing throws through Qt, which takes an
// exception leaving a slot for undefined behaviour. A handler that wants
// fewer arguments than the signal carries is called without them.
template <class Handler>
auto guarded(Handler handler)
{
    return [handler = std::move(handler)](const auto&... arguments) mutable {
        runShowingErrors([&] {
            if constexpr (std::is_invocable_v<Handler&, decltype(arguments)...>)
                std::invoke(handler, arguments...);
            else
                std::invoke(handler);
        });
    };
}

// The same for a member function of an object.
template <class Object, class Method>
auto guarded(Object* object, Method method)
{
    return [object, method](const auto&... arguments) {
        runShowingErrors([&] {
            if constexpr (std::is_invocable_v<Method, Object*, decltype(arguments)...>)
                std::invoke(method, object, arguments...);
            else
                std::invoke(method, object);
        });
    };
}

}  // namespace vorlin::ui
