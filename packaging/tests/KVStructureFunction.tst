%!demo
%! ## The structure function inside a pupil, from one screen.
%! F = KVBegin (0.5, 1e-6, 256);
%! P = KVTurbScreen (2, 0.02, 10, 0, F);
%! [x, y] = KVCoordinates (F);
%! M = x.^2 + y.^2 <= 0.2^2;
%! [D, r] = KVStructureFunction (P, F, M);
%! loglog (r(2:end), D(2:end)); xlabel ('r (m)'); ylabel ('D (rad^2)'); title ('inside a 0.4 m pupil');

%!test
%! ## A ramp a*x: D = a^2 r^2/2 (the mean of a^2 r^2 along x and 0 along y).
%! F = KVBegin (0.1, 1e-6, 32);
%! [x, y] = KVCoordinates (F);
%! [D, r] = KVStructureFunction (5 * x, F);
%! assert (size (D), [17 1]);
%! assert (r, (0:16)' * 0.1 / 32, 1e-15);
%! assert (D, 25 * r.^2 / 2, 1e-12);
%! assert (KVStructureFunction (5 * x, F, true (32)), D);
