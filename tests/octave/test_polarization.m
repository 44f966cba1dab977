%!shared N, F, Z, xg, yg
%! N = 64;
%! F = KVBegin (4e-3, 1e-6, N);
%! Z = F; Z(:, 1:N) = 0;                        % the dark component
%! [xg, yg] = meshgrid (((0:N-1) - N/2) * 4e-3 / N);

%!function [Fx, Fy] = linear_light (F, a)
%!  % Light of unit amplitude polarized at angle a.
%!  N = rows (F);
%!  Fx = F; Fx(:, 1:N) = cos (a);
%!  Fy = F; Fy(:, 1:N) = sin (a);
%!endfunction

%!function P = pwr (varargin)
%!  P = 0;
%!  for k = 1:nargin
%!    G = varargin{k};
%!    P += sum (abs (G(:, 1:rows (G))(:)).^2);
%!  endfor
%!endfunction

%!test
%! % Malus's law: a polarizer at theta passes cos(theta - alpha)^2 of light
%! % polarized at alpha, and what it passes is polarized along theta;
%! % KVPolarizer's single field is the amplitude along the axis.
%! for alpha = [0, 0.3, -1.1]
%!   [Fx, Fy] = linear_light (F, alpha);
%!   for theta = [0, pi/6, pi/2, 2.5]
%!     [Gx, Gy] = KVLinearPolarizer (theta, Fx, Fy);
%!     assert (pwr (Gx, Gy), N^2 * cos (theta - alpha)^2, 1e-12 * N^2);
%!     P = KVPolarizer (theta, Fx, Fy);
%!     assert (Gx(:, 1:N), cos (theta) * P(:, 1:N), 1e-15);
%!     assert (Gy(:, 1:N), sin (theta) * P(:, 1:N), 1e-15);
%!   endfor
%! endfor

%!test
%! % A half-wave plate at theta turns x-polarized light to the angle 2*theta;
%! % a rotator turns it by its angle, and back.
%! for theta = [0.1, pi/8, -0.7]
%!   [Gx, Gy] = KVWavePlate (pi, theta, F, Z);
%!   assert (Gx(:, 1:N), cos (2 * theta) * ones (N), 1e-15);
%!   assert (Gy(:, 1:N), sin (2 * theta) * ones (N), 1e-15);
%!   [Rx, Ry] = KVRotator (2 * theta, F, Z);
%!   assert (Rx(:, 1:N), Gx(:, 1:N), 1e-15);
%!   assert (Ry(:, 1:N), Gy(:, 1:N), 1e-15);
%!   [Bx, By] = KVRotator (-2 * theta, Rx, Ry);
%!   assert (Bx(:, 1:N), F(:, 1:N), 1e-15);
%!   assert (By(:, 1:N), zeros (N), 1e-15);
%! endfor

%!test
%! % A quarter-wave plate at +-45 degrees makes x-polarized light circular:
%! % S3 = -S0 at +45, +S0 at -45 (fields exp(-i*omega*t); S3 > 0 turns from
%! % x towards y); S1 = S2 = 0.
%! for sgn = [1, -1]
%!   [Gx, Gy] = KVWavePlate (pi/2, sgn * pi/4, F, Z);
%!   [S0, S1, S2, S3] = KVStokes (Gx, Gy);
%!   assert (S0, ones (N), 1e-15);
%!   assert (S3, -sgn * S0, 1e-15);
%!   assert ([max(abs (S1(:))), max(abs (S2(:)))], [0 0], 1e-15);
%! endfor
%! % Fy = 1i*Fx is S3 = +S0.
%! C = F; C(:, 1:N) = 1i;
%! [~, ~, ~, S3] = KVStokes (F, C);
%! assert (S3, 2 * ones (N));

%!test
%! % Two quarter-wave plates at one angle are one half-wave plate; the same
%! % matrices through KVJones give the same samples. A general field pair.
%! Fx = KVRandomPhase (3, 6, KVGaussAperture (1e-3, 2e-4, 0, 1, F));
%! Fy = KVRandomPhase (4, 6, KVGaussAperture (8e-4, -1e-4, 3e-4, 1, F));
%! for theta = [0.4, -1.2]
%!   [Qx, Qy] = KVWavePlate (pi/2, theta, Fx, Fy);
%!   [Qx, Qy] = KVWavePlate (pi/2, theta, Qx, Qy);
%!   [Hx, Hy] = KVWavePlate (pi, theta, Fx, Fy);
%!   assert (Qx(:, 1:N), Hx(:, 1:N), 1e-14);
%!   assert (Qy(:, 1:N), Hy(:, 1:N), 1e-14);
%!   c = cos (theta); s = sin (theta);
%!   J = [c -s; s c] * diag ([1, -1]) * [c s; -s c];
%!   [Jx, Jy] = KVJones (J, Fx, Fy);
%!   assert (Jx(:, 1:N), Hx(:, 1:N), 1e-14);
%!   assert (Jy(:, 1:N), Hy(:, 1:N), 1e-14);
%! endfor
%! % Headers: each result keeps its component's, aux_int included.
%! Fy(5, N + 1) = 7;
%! [Jx, Jy] = KVJones (1i * eye (2), Fx, Fy);
%! assert (real (Jx(1:5, N + 1)), real (Fx(1:5, N + 1)));
%! assert (real (Jy(1:5, N + 1)), real (Fy(1:5, N + 1)));
%! assert (Jy(:, 1:N), 1i * Fy(:, 1:N));
%! % Fewer Stokes results are the first ones; S0^2 = S1^2 + S2^2 + S3^2 at
%! % every sample.
%! [S0, S1, S2, S3] = KVStokes (Fx, Fy);
%! assert (KVStokes (Fx, Fy), S0);
%! assert (S0.^2, S1.^2 + S2.^2 + S3.^2, 1e-14 * max (S0(:))^2);
%! assert (S0, abs (Fx(:, 1:N)).^2 + abs (Fy(:, 1:N)).^2, 1e-15 * max (S0(:)));

%!test
%! % A radially polarized doughnut, HG10 along x and HG01 along y: S1 and
%! % S2 turn twice around the axis, S3 = 0; behind a polarizer at theta it
%! % is two lobes along theta, intensity S0*cos(phi - theta)^2.
%! Fx = KVGaussHermite (0, 1, 1, 5e-4, F);
%! Fy = KVGaussHermite (1, 0, 1, 5e-4, F);
%! [S0, S1, S2, S3] = KVStokes (Fx, Fy);
%! phi = atan2 (yg, xg);
%! S = 8 / 5e-4^2 * (xg.^2 + yg.^2) .* exp (-2 * (xg.^2 + yg.^2) / 5e-4^2);
%! assert (S0, S, 1e-12 * max (S(:)));
%! assert (S1, S .* cos (2 * phi), 1e-12 * max (S(:)));
%! assert (S2, S .* sin (2 * phi), 1e-12 * max (S(:)));
%! assert (S3, zeros (N));
%! for theta = (0:3) * pi/4
%!   [Gx, Gy] = KVLinearPolarizer (theta, Fx, Fy);
%!   assert (KVStokes (Gx, Gy), S .* cos (phi - theta).^2, 1e-12 * max (S(:)));
%! endfor

%!test
%! % The pair is checked as KVPolarizer checks it, with its messages.
%! G16 = KVBegin (4e-3, 1e-6, 16);
%! Gs = KVBegin (5e-3, 1e-6, N);
%! Gl = KVBegin (4e-3, 2e-6, N);
%! Gc = F; Gc(4, N + 1) = 1;
%! bad = {G16, 'Input fields must have equal grid dimensions.', 'Korvane:mismatch';
%!        Gs, 'Input fields must have equal grid sizes.', 'Korvane:mismatch';
%!        Gl, 'Input fields must have equal wave lengths.', 'Korvane:mismatch';
%!        Gc, 'One of the input fields has spherical coordinates.', 'Korvane:spherical'};
%! names = {'KVPolarizer', 'KVLinearPolarizer', 'KVWavePlate', 'KVRotator', 'KVJones', 'KVStokes'};
%! for k = 1:rows (bad)
%!   G = bad{k, 1};
%!   for c = 1:numel (names)
%!     err = [];
%!     try
%!       switch (c)
%!         case 1, X = KVPolarizer (0, F, G);
%!         case 2, [X, Y] = KVLinearPolarizer (0, F, G);
%!         case 3, [X, Y] = KVWavePlate (1, 0, F, G);
%!         case 4, [X, Y] = KVRotator (0, F, G);
%!         case 5, [X, Y] = KVJones (eye (2), F, G);
%!         case 6, [X, Y] = KVStokes (F, G);
%!       endswitch
%!     catch e
%!       err = e;
%!     end_try_catch
%!     assert (err.message, [names{c} ': ' bad{k, 2}]);
%!     assert (err.identifier, bad{k, 3});
%!   endfor
%! endfor

%!error <KVJones: Input Jones matrix must be a 2 x 2 double array.> [a, b] = KVJones (eye (3), KVBegin (1, 1, 8), KVBegin (1, 1, 8))
%!error <KVJones: Input Jones matrix must be a 2 x 2 double array.> [a, b] = KVJones (single (eye (2)), KVBegin (1, 1, 8), KVBegin (1, 1, 8))
%!error <KVJones: Input Jones matrix must be a 2 x 2 double array.> [a, b] = KVJones (sparse (eye (2)), KVBegin (1, 1, 8), KVBegin (1, 1, 8))
%!error <KVJones: Input Jones matrix must have finite elements.> [a, b] = KVJones ([1 NaN; 0 1i], KVBegin (1, 1, 8), KVBegin (1, 1, 8))
%!error <KVJones: Input Jones matrix must have finite elements.> [a, b] = KVJones ([1 0; complex(0, Inf) 1], KVBegin (1, 1, 8), KVBegin (1, 1, 8))
%!error <expects two output arguments> a = KVWavePlate (1, 0, KVBegin (1, 1, 8), KVBegin (1, 1, 8))
%!error <expects one to four output arguments> [a, b, c, d, e] = KVStokes (KVBegin (1, 1, 8), KVBegin (1, 1, 8))
%!error <expects four input arguments> [a, b] = KVWavePlate (1, KVBegin (1, 1, 8), KVBegin (1, 1, 8))
