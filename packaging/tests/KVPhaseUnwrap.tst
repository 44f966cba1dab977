%!test
%! ## A wrapped lens phase unwraps back to the smooth one (centre kept).
%! F = KVLens (0.5, 0, 0, KVBegin (3e-3, 633e-9, 64));
%! [x, y] = KVCoordinates (F);
%! true_phase = -(6.2831852 / 633e-9) * (x.^2 + y.^2) / (2 * 0.5);
%! U = KVPhaseUnwrap (1, KVPhase (F));
%! assert (U, true_phase, 1e-6);
%! assert (KVPhaseUnwrap (2, KVPhase (F)), 2 * U, 1e-12);
