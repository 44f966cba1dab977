%!demo
%! ## A Kolmogorov screen (r0 = 2 cm on a 0.5 m grid) and its structure
%! ## function against 6.88 (r/r0)^(5/3).
%! F = KVBegin (0.5, 1e-6, 256);
%! P = KVTurbScreen (1, 0.02, Inf, 0, F);
%! [D, r] = KVStructureFunction (P, F);
%! subplot (1, 2, 1); imagesc (P); axis image off; colorbar; title ('phase (rad)');
%! subplot (1, 2, 2); loglog (r(2:end), D(2:end), r(2:end), 6.8839 * (r(2:end) / 0.02).^(5/3));
%! xlabel ('r (m)'); ylabel ('D (rad^2)'); legend ('screen', 'theory');

%!test
%! ## The same seed, the same screen, whatever the wavelength; r0 only scales.
%! F = KVBegin (0.2, 633e-9, 64);
%! G = KVBegin (0.2, 1.55e-6, 64);
%! P = KVTurbScreen (9, 0.01, 5, 0.002, F);
%! assert (size (P), [64 64]);
%! assert (isreal (P));
%! assert (KVTurbScreen (9, 0.01, 5, 0.002, G), P);
%! assert (KVTurbScreen (9, 0.005, 5, 0.002, F), 2^(5/6) * P, 1e-12 * max (abs (P(:))));
%! assert (! isequal (KVTurbScreen (10, 0.01, 5, 0.002, F), P));
%! assert (KVTurbScreen (9, Inf, 5, 0.002, F), zeros (64));
