%!test
%! ## Factors r/32767 from the same draws as KVRandomPhase.
%! F = KVBegin (1e-3, 633e-9, 32);
%! t = KVRandomIntensity (11, F)(:, 1:32);
%! assert (isreal (t) || all (imag (t(:)) == 0));
%! assert (all (t(:) >= 0 & t(:) <= 1) && mean (t(:)) > 0.3 && mean (t(:)) < 0.7);
%! P = KVPhase (KVRandomPhase (11, 2, F));
%! assert (P, (real (t) - 0.5) * 2, 1e-12);
