function [cases, F, U] = element_cases(n)
  % The element commands at grid dimension N, each with the vectorized
  % Octave expression that does the same on the N x N samples (empty where
  % there is none) and its kind: 'compute' (transcendental functions per
  % sample; judged against the expression) or 'memory' (a few operations per
  % sample; judged against a forced copy of the field). Rows of CASES:
  % {name, @command, @expression, kind}. F is the field both read, U its
  % samples. Used by element_timing.m and bench_doc.m.
  size_ = 5e-3; lambda = 1e-6; d = size_ / n;
  F = KVBegin(size_, lambda, n);
  F(1:n, 1:n) = exp(1i * reshape(mod(0:n*n-1, 97) / 7, n, n));
  U = F(1:n, 1:n);
  x = ((0:n-1) - floor(n / 2)) * d;
  [Y, X] = ndgrid(x, x);   % x goes with the columns, y with the rows
  P = mod(X * 1e3, 1);
  I = 0.5 + P;
  k = 2 * pi / lambda;
  R = 1.5e-3; w = 1e-3;
  cases = {
    'KVCircAperture', @() KVCircAperture(R, 0, 0, F), @() U .* (X.^2 + Y.^2 <= R^2), 'memory'
    'KVCircScreen', @() KVCircScreen(R, 0, 0, F), @() U .* (X.^2 + Y.^2 > R^2), 'memory'
    'KVRectAperture', @() KVRectAperture(2*R, R, 0, 0, 0, F), @() U .* (abs(X) <= R & abs(Y) <= R/2), 'memory'
    'KVGaussAperture', @() KVGaussAperture(w, 0, 0, 1, F), @() U .* exp(-(X.^2 + Y.^2) / (2 * w^2)), 'compute'
    'KVGaussScreen', @() KVGaussScreen(w, 0, 0, 0.5, F), @() U .* sqrt(1 - 0.5 * exp(-(X.^2 + Y.^2) / w^2)), 'compute'
    'KVSuperGaussAperture', @() KVSuperGaussAperture(w, 4, 0, 0, 1, F), @() U .* exp(-0.5 * ((X.^2 + Y.^2) / w^2).^4), 'compute'
    'KVLens', @() KVLens(1, 0, 0, F), @() U .* exp(-1i * k * (X.^2 + Y.^2) / 2), 'compute'
    'KVTilt', @() KVTilt(1e-4, 2e-4, F), @() U .* exp(1i * k * (1e-4 * X + 2e-4 * Y)), 'compute'
    'KVAxicon', @() KVAxicon(pi - 0.01, 1.5, 0, 0, F), @() U .* exp(-1i * k * 0.005 * sqrt(X.^2 + Y.^2)), 'compute'
    'KVZernike', @() KVZernike(4, 2, R, 1, F), @() U .* exp(1i * zernike42(X, Y, R)), 'compute'
    'KVRandomPhase', @() KVRandomPhase(7, 1, F), @() U .* exp(1i * rand(n)), 'compute'
    'KVMultPhase', @() KVMultPhase(P, F), @() U .* exp(1i * P), 'compute'
    'KVMultIntensity', @() KVMultIntensity(I, F), @() U .* sqrt(I), 'memory'
    'KVSubPhase', @() KVSubPhase(P, F), @() abs(U) .* exp(1i * P), 'compute'
    'KVSubIntensity', @() KVSubIntensity(I, F), @() sqrt(I) .* exp(1i * angle(U)), 'compute'
    'KVRandomIntensity', @() KVRandomIntensity(7, F), @() U .* rand(n), 'memory'
    'KVIntAttenuator', @() KVIntAttenuator(0.3, F), @() U * sqrt(0.3), 'memory'
    'KVGain', @() KVGain(1, 0.1, 1, F), @() U .* exp(0.1 ./ (1 + abs(U).^2)), 'compute'
    'KVBeamMix', @() KVBeamMix(F, F), @() U + U, 'memory'
    'KVPolarizer', @() KVPolarizer(0.3, F, F), @() U * cos(0.3) + U * sin(0.3), 'memory'
    'KVIntensity', @() KVIntensity(0, F), @() abs(U).^2, 'memory'
    'KVPhase', @() KVPhase(F), @() angle(U), 'compute'
    'KVStrehl', @() KVStrehl(F), @() abs(sum(U(:)))^2 / sum(abs(U(:)))^2, 'memory'
    'KVNormal', @() normal2(F), @() U / sqrt(sum(abs(U(:)).^2)), 'memory'
    'KVConvert', @() KVConvert(F), @() U + 0, 'memory'
    'KVGaussHermite', @() KVGaussHermite(1, 1, 1, w, F), @() U .* (X .* Y .* exp(-(X.^2 + Y.^2) / w^2)), 'compute'
    'KVInterpol', @() KVInterpol(size_, n, 0, 0, 10, 1, F), @() interp2(X, Y, real(U), X, Y), 'compute'
    'KVPhaseUnwrap', @() KVPhaseUnwrap(1, P), [], 'compute'
    'KVBegin', @() KVBegin(size_, lambda, n), @() complex(ones(n, n + 1)), 'memory'
  };
end

function G = normal2(F)
  [G, p] = KVNormal(F);
end

function Z = zernike42(X, Y, R)
  % The Zernike term n = 4, m = 2 as the command defines it: the radial
  % polynomial of rho = r/R times sin(m*theta).
  rho = sqrt(X.^2 + Y.^2) / R;
  Z = (4 * rho.^4 - 3 * rho.^2) .* sin(2 * atan2(Y, X));
end
