%!demo
%! ## A random phase plate of width 6 rad spreads a focused beam.
%! N = 128;
%! F = KVLens (1, 0, 0, KVCircAperture (2e-3, 0, 0, KVBegin (6e-3, 633e-9, N)));
%! z = (N / (N - 1))^2;
%! subplot (1, 2, 1); imagesc (KVIntensity (1, KVForward (z, 1e-3, 64, F))); axis image off; title ('focus');
%! subplot (1, 2, 2); imagesc (KVIntensity (1, KVForward (z, 1e-3, 64, KVRandomPhase (7, 6, F)))); axis image off; title ('with KVRandomPhase');

%!test
%! ## The width is truncated to an integer; the amplitude is kept; the
%! ## phases lie in [-max/2, max/2]; the same seed gives the same screen.
%! F = KVBegin (1e-3, 633e-9, 32);
%! assert (KVRandomPhase (3, 2.7, F), KVRandomPhase (3, 2, F));
%! assert (KVRandomPhase (3, pi, F), KVRandomPhase (3, 3, F));
%! assert (KVRandomPhase (3, 0.9, F), F);
%! G = KVRandomPhase (3, 3, F);
%! assert (abs (G(:, 1:32)), ones (32), 1e-15);
%! P = KVPhase (G);
%! assert (max (abs (P(:))) <= 1.5 + 1e-12 && std (P(:)) > 0.5);
%! assert (! isequal (G, KVRandomPhase (4, 3, F)));
