%!shared F
%! F = KVBegin (0.5, 1e-6, 64);

%!test
%! ## The screen: N x N real, the same for the same seed in every call, and
%! ## on a field in spherical coordinates; D alone for one output.
%! P = KVTurbScreen (3, 0.02, Inf, 0, F);
%! assert (size (P), [64 64]);
%! assert (isreal (P) && isa (P, 'double'));
%! G = F; G(4, 65) = 2.5;
%! assert (KVTurbScreen (3, 0.02, Inf, 0, G), P);
%! assert (KVTurbScreen (3.99, 0.02, Inf, 0, F), P);
%! D = KVStructureFunction (P, F);
%! [D2, r] = KVStructureFunction (P, F);
%! assert (D2, D);
%! assert (size (D), [33 1]);
%! assert (r, (0:32)' * 0.5 / 64, 1e-15);

%!test
%! ## A ramp along y, inside a mask with NaN outside.
%! [x, y] = KVCoordinates (F);
%! P = -2 * y;
%! M = abs (x) < 0.2 & abs (y) < 0.2;
%! P(! M) = NaN;
%! [D, r] = KVStructureFunction (P, F, M);
%! assert (D, 2 * r.^2, 1e-12);
%! [D, r] = KVStructureFunction (P, F);
%! assert (D, 2 * r.^2, 1e-12);

%!test
%! ## Plane-wave scintillation over 1 km in ten equal slabs, a screen at the
%! ## centre of each (r0 = (0.423 k^2 Cn2 dz)^(-3/5)), half steps at both
%! ## ends, on a grid spaced a fifth of the Fresnel scale sqrt(L/k): the
%! ## scintillation index over the central half within 10 % of the Rytov
%! ## variance 1.23 Cn2 k^(7/6) L^(11/6) at 0.02 and 0.2. N = 512 puts the
%! ## central half 25 Fresnel scales from the edge, out of reach of the
%! ## ripples the screens' edge sends in (at N = 256 it read 6 to 13 % high).
%! ## Five realisations (fixed seeds) give a standard error of about 1.5 %
%! ## of the index; it came out within 1 %.
%! lambda = 1e-6; k = 2 * pi / lambda; L = 1000; K = 10; dz = L / K; N = 512;
%! d = sqrt (L / k) / 5;
%! c = N/4 + 1 : 3*N/4;
%! for sR2 = [0.02 0.2]
%!   Cn2 = sR2 / (1.23 * k^(7/6) * L^(11/6));
%!   r0 = (0.423 * k^2 * Cn2 * dz)^(-3/5);
%!   s1 = 0; s2 = 0; n = 0;
%!   for run = 1:5
%!     G = KVAngularSpectrum (dz / 2, KVBegin (N * d, lambda, N));
%!     for s = 1:K
%!       G = KVMultPhase (KVTurbScreen (100 * run + s, r0, Inf, 0, G), G);
%!       G = KVAngularSpectrum (dz / (1 + (s == K)), G);
%!     end
%!     I = KVIntensity (0, G)(c, c);
%!     s1 += sum (I(:)); s2 += sum (I(:).^2); n += numel (I);
%!   end
%!   index = (s2 / n) / (s1 / n)^2 - 1;
%!   assert (abs (index / sR2 - 1) < 0.1, sprintf ('%g at %g', index, sR2));
%! end

%!error <expects five input arguments> P = KVTurbScreen (1, 1, 1, F);
%!error <expects one output argument> [P, Q] = KVTurbScreen (1, 1, 1, 0, F);
%!error <Input must be real scalar.> P = KVTurbScreen (1i, 1, 1, 0, F);
%!error <Input must be real scalar.> P = KVTurbScreen (1, single (1), 1, 0, F);
%!error <Input must be real scalar.> P = KVTurbScreen (1, 1, [1 2], 0, F);
%!error <Input must be real scalar.> P = KVTurbScreen (1, 1, 1, 'a', F);
%!error <Input field is not a Korvane field.> P = KVTurbScreen (1, 1, 1, 0, ones (8));
%!error <The Fried parameter r0 must be positive.> P = KVTurbScreen (1, 0, 1, 0, F);
%!error <The Fried parameter r0 must be positive.> P = KVTurbScreen (1, NaN, 1, 0, F);
%!error <The outer scale L0 must be positive \(Inf: no outer scale\).> P = KVTurbScreen (1, 1, -1, 0, F);
%!error <The outer scale L0 must be positive \(Inf: no outer scale\).> P = KVTurbScreen (1, 1, NaN, 0, F);
%!error <The inner scale l0 must be zero or positive.> P = KVTurbScreen (1, 1, 1, -1e-3, F);
%!error <The inner scale l0 must be zero or positive.> P = KVTurbScreen (1, 1, 1, Inf, F);
%!error <The inner scale l0 must be zero or positive.> P = KVTurbScreen (1, 1, 1, NaN, F);
%!error id=Korvane:badValue P = KVTurbScreen (1, -1, 1, 0, F);
%!error <expects two or three input arguments> D = KVStructureFunction (ones (64));
%!error <expects two or three input arguments> D = KVStructureFunction (ones (64), F, true (64), 1);
%!error <expects one or two output arguments> [D, r, q] = KVStructureFunction (ones (64), F);
%!error <Input phase array must have real elements.> D = KVStructureFunction (1i * ones (64), F);
%!error <Input phase array must be square and must have equal dimensions as the input field.> D = KVStructureFunction (ones (32), F);
%!error <Input mask array must be square and must have equal dimensions as the input field.> D = KVStructureFunction (ones (64), F, true (8));
%!error <Input mask array must be a numeric or logical array.> D = KVStructureFunction (ones (64), F, cell (64));
