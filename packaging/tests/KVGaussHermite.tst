%!demo
%! ## Gauss-Hermite modes TEM(n,m), n down (y), m across (x).
%! F = KVBegin (6e-3, 633e-9, 96);
%! for n = 0:2
%!   for m = 0:2
%!     subplot (3, 3, 3 * n + m + 1);
%!     imagesc (KVIntensity (1, KVGaussHermite (n, m, 1, 1e-3, F))); axis image off;
%!     title (sprintf ('TEM%d%d', n, m));
%!   end
%! end
%! colormap (hot);

%!test
%! ## w0 is the 1/e amplitude radius; n goes with y (rows), m with x.
%! F = KVBegin (8e-3, 633e-9, 256);
%! G = KVGaussHermite (0, 0, 2, 1e-3, F);
%! assert (G(129, 129), 2);
%! assert (abs (G(129, 161)), 2 * exp (-1), 1e-14);
%! assert (KVGaussHermite (2, 0, 1, 1e-3, F)(129, 129), -2);
%! H = KVIntensity (0, KVGaussHermite (1, 0, 1, 1e-3, F));
%! assert (H(129, 129), 0);
%! assert (H(129, 140) == 0 && H(140, 129) > 0);
