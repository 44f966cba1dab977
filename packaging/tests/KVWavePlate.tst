%!demo
%! ## x-polarized light behind a quarter-wave plate turned from 0 to 90 degrees.
%! F = KVBegin (1e-3, 1e-6, 8);
%! Z = KVIntAttenuator (0, F);
%! t = linspace (0, pi/2, 46);
%! s3 = zeros (size (t));
%! for k = 1:numel (t)
%!   [Fx, Fy] = KVWavePlate (pi/2, t(k), F, Z);
%!   [S0, ~, ~, S3] = KVStokes (Fx, Fy);
%!   s3(k) = S3(1) / S0(1);
%! end
%! plot (t * 180/pi, s3); xlabel ('fast axis (degrees)'); ylabel ('S3/S0');

%!test
%! ## A half-wave plate at 22.5 degrees turns x-polarized light to 45.
%! F = KVBegin (1e-3, 1e-6, 16);
%! [Fx, Fy] = KVWavePlate (pi, pi/8, F, KVIntAttenuator (0, F));
%! assert (Fx(:, 1:16), Fy(:, 1:16), 1e-15);
%! assert (Fx(:, 1:16), sqrt (0.5) * ones (16), 1e-15);

%!test
%! ## Quarter-wave plates at +45 and -45 degrees: S3 = -S0 and +S0 (the
%! ## conventions page: a delay is a positive phase, S3 > 0 turns x to y).
%! F = KVBegin (1e-3, 1e-6, 16);
%! for s = [1, -1]
%!   [Fx, Fy] = KVWavePlate (pi/2, s * pi/4, F, KVIntAttenuator (0, F));
%!   [S0, ~, ~, S3] = KVStokes (Fx, Fy);
%!   assert (S3, -s * S0, 1e-15);
%! end
