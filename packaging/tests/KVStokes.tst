%!demo
%! ## The Stokes maps of a radially polarized doughnut.
%! F = KVBegin (4e-3, 1e-6, 128);
%! [S0, S1, S2, S3] = KVStokes (KVGaussHermite (0, 1, 1, 1e-3, F), KVGaussHermite (1, 0, 1, 1e-3, F));
%! S = {S0, S1, S2, S3};
%! for k = 1:4
%!   subplot (1, 4, k); imagesc (S{k}, [-1 1] * max (S0(:))); axis image off; title (sprintf ('S%d', k - 1));
%! end

%!test
%! ## Fully polarized at every sample; S3 > 0 for Fy = 1i*Fx.
%! F = KVRandomPhase (2, 3, KVBegin (1e-3, 1e-6, 16));
%! G = F; G(:, 1:16) = 1i * F(:, 1:16);
%! [S0, S1, S2, S3] = KVStokes (F, G);
%! assert (S3, S0, 1e-15);
%! assert (S0.^2, S1.^2 + S2.^2 + S3.^2, 1e-14);
