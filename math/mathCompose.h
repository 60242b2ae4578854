#pragma once
// Internal to the math library: the in-place compositions shared by frames and matrices.

// Builds a transform from arg in a temporary and applies it to m with apply (a Pre or Post
// product).
template <class M, class Arg>
void mathCompose_Apply(M* m, const Arg* arg, void (*build)(M*, const Arg*), void (*apply)(M*, const M*))
{
    M built;
    build(&built, arg);
    apply(m, &built);
}

// m = multiply(copy of m, b) when the copy goes first, multiply(b, copy of m) otherwise.
template <class M>
void mathCompose_InPlace(M* m, const M* b, bool copyFirst, void (*multiply)(M*, const M*, const M*))
{
    const M copy = *m;
    if (copyFirst)
        multiply(m, &copy, b);
    else
        multiply(m, b, &copy);
}
