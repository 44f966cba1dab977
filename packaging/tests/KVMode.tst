%!demo
%! ## The first modes of a step-index fibre (V = 2.77): LP01 and the LP11 pair.
%! N = 128; L = 40e-6; a = 4.5e-6;
%! F = KVBegin (L, 1.31e-6, N);
%! [x, y] = KVCoordinates (F);
%! n = 1.4447 + 0.0057 * (x.^2 + y.^2 < a^2);
%! for m = 0:2
%!   [M, neff] = KVMode (n, m, F);
%!   subplot (1, 3, m + 1); imagesc (real (M(:, 1:N))); axis image off;
%!   title (sprintf ('m = %d, neff = %.6f', m, neff));
%! end

%!test
%! ## A mode has power 1, real samples, its largest sample positive, and
%! ## propagates through KVMedium unchanged up to the phase k0*(neff - 1)*z.
%! N = 64; L = 40e-6;
%! F = KVBegin (L, 1.31e-6, N);
%! [x, y] = KVCoordinates (F);
%! n = 1.4447 + 0.0057 * (x.^2 + y.^2 < (4.5e-6)^2);
%! [M, neff] = KVMode (n, 0, F);
%! assert (KVPower (M), 1, 1e-12);
%! assert (isreal (M(1:N, 1:N)) || all (imag (M(1:N, 1:N))(:) == 0));
%! assert (max (real (M(1:N, 1:N))(:)) > 0);
%! G = KVMedium (1e-4, 200, n, M, 0);
%! o = sum (sum (conj (M(1:N, 1:N)) .* G(1:N, 1:N))) * (L / N)^2;
%! assert (abs (o)^2 > 0.999);
%! assert (abs (angle (o * exp (-1i * 2 * pi / 1.31e-6 * (neff - 1) * 1e-4))) < 1e-2);

%!error <guided> G = KVMode (1.45 * ones (16), 0, KVBegin (1e-3, 1e-6, 16))
