%!demo
%! ## The Zernike terms up to n = 4 (phase over a circular pupil).
%! F = KVCircAperture (2e-3, 0, 0, KVBegin (4.4e-3, 633e-9, 96));
%! k = 0;
%! for n = 0:4
%!   for m = -n:2:n
%!     k += 1;
%!     subplot (5, 5, 5 * n + (m + n) / 2 + 1 + floor ((4 - n) / 2));
%!     G = KVZernike (n, m, 2e-3, 1, F);
%!     P = KVPhase (G); P(abs (G(:, 1:96)) == 0) = 0;
%!     imagesc (P, [-1 1]); axis image off; title (sprintf ('(%d,%d)', n, m), 'fontsize', 9);
%!   end
%! end

%!test
%! ## Defocus (2,0): A*(2*rho^2 - 1); (1,1) is a tilt in y, (1,-1) in x.
%! F = KVBegin (4e-3, 633e-9, 64);
%! [x, y] = KVCoordinates (F);
%! G = KVZernike (2, 0, 2e-3, 0.5, F);
%! rho2 = (x.^2 + y.^2) / 4e-6;
%! assert (G(:, 1:64), exp (1i * 0.5 * (2 * rho2 - 1)), 1e-9);
%! P = KVPhase (KVZernike (1, 1, 2e-3, 0.5, F));
%! assert (P(40, 33) > P(30, 33) && abs (P(33, 40) - P(33, 30)) < 1e-9);
%! P = KVPhase (KVZernike (1, -1, 2e-3, 0.5, F));
%! assert (P(33, 40) > P(33, 30) && abs (P(40, 33) - P(30, 33)) < 1e-9);
