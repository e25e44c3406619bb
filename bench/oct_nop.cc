// The trivial call of the per-call table: an oct-file, as Octave's build of
// every module now is, that whatever its inputs returns as many scalars as
// asked for (the first input's first value), so a row compares a module with
// a call of the same arity that does nothing.
#include <algorithm>

#include <octave/oct.h>

DEFUN_DLD (oct_nop, args, nargout, "R = oct_nop (X, ...): X(1) as a double scalar.")
{
  double v = 0;
  if (args.length () > 0 && args(0).is_double_type () && args(0).isreal ()
      && args(0).numel () > 0)
    v = args(0).array_value ()(0);
  octave_value_list r;
  for (int k = 0; k < std::max (nargout, 1); ++k)
    r(k) = v;
  return r;
}
