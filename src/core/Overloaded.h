#pragma once

// Combines lambdas into one visitor for std::visit, one lambda per alternative.
template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};

template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;
