function element_timing(sizes, reps)
  % Times every command at each N in SIZES (default 1024 and 2048) with
  % whatever build is first on the path, against the vectorized Octave
  % expression that does the same on the N x N samples where there is one.
  % Prints the median of REPS (default 7) interleaved runs in ms and the
  % ratio command/expression.
  %   octave-cli --eval "addpath('build/octave'); addpath('bench'); element_timing"
  if nargin < 1, sizes = [1024 2048]; end
  if nargin < 2, reps = 7; end
  for n = sizes
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
      'KVCircAperture', @() KVCircAperture(R, 0, 0, F), @() U .* (X.^2 + Y.^2 <= R^2)
      'KVCircScreen', @() KVCircScreen(R, 0, 0, F), @() U .* (X.^2 + Y.^2 > R^2)
      'KVRectAperture', @() KVRectAperture(2*R, R, 0, 0, 0, F), @() U .* (abs(X) <= R & abs(Y) <= R/2)
      'KVGaussAperture', @() KVGaussAperture(w, 0, 0, 1, F), @() U .* exp(-(X.^2 + Y.^2) / (2 * w^2))
      'KVGaussScreen', @() KVGaussScreen(w, 0, 0, 0.5, F), @() U .* sqrt(1 - 0.5 * exp(-(X.^2 + Y.^2) / w^2))
      'KVSuperGaussAperture', @() KVSuperGaussAperture(w, 4, 0, 0, 1, F), @() U .* exp(-0.5 * ((X.^2 + Y.^2) / w^2).^4)
      'KVLens', @() KVLens(1, 0, 0, F), @() U .* exp(-1i * k * (X.^2 + Y.^2) / 2)
      'KVTilt', @() KVTilt(1e-4, 2e-4, F), @() U .* exp(1i * k * (1e-4 * X + 2e-4 * Y))
      'KVAxicon', @() KVAxicon(pi - 0.01, 1.5, 0, 0, F), @() U .* exp(-1i * k * 0.005 * sqrt(X.^2 + Y.^2))
      'KVZernike', @() KVZernike(4, 2, R, 1, F), @() U .* exp(1i * zernike42(X, Y, R))
      'KVRandomPhase', @() KVRandomPhase(7, 1, F), @() U .* exp(1i * rand(n))
      'KVMultPhase', @() KVMultPhase(P, F), @() U .* exp(1i * P)
      'KVMultIntensity', @() KVMultIntensity(I, F), @() U .* sqrt(I)
      'KVSubPhase', @() KVSubPhase(P, F), @() abs(U) .* exp(1i * P)
      'KVSubIntensity', @() KVSubIntensity(I, F), @() sqrt(I) .* exp(1i * angle(U))
      'KVRandomIntensity', @() KVRandomIntensity(7, F), @() U .* rand(n)
      'KVIntAttenuator', @() KVIntAttenuator(0.3, F), @() U * sqrt(0.3)
      'KVGain', @() KVGain(1, 0.1, 1, F), @() U .* exp(0.1 ./ (1 + abs(U).^2))
      'KVBeamMix', @() KVBeamMix(F, F), @() U + U
      'KVPolarizer', @() KVPolarizer(0.3, F, F), @() U * cos(0.3) + U * sin(0.3)
      'KVIntensity', @() KVIntensity(0, F), @() abs(U).^2
      'KVPhase', @() KVPhase(F), @() angle(U)
      'KVStrehl', @() KVStrehl(F), @() abs(sum(U(:)))^2 / sum(abs(U(:)))^2
      'KVNormal', @() normal2(F), @() U / sqrt(sum(abs(U(:)).^2))
      'KVConvert', @() KVConvert(F), @() U + 0
      'KVGaussHermite', @() KVGaussHermite(1, 1, 1, w, F), @() U .* (X .* Y .* exp(-(X.^2 + Y.^2) / w^2))
      'KVInterpol', @() KVInterpol(size_, n, 0, 0, 10, 1, F), @() interp2(X, Y, real(U), X, Y)
      'KVPhaseUnwrap', @() KVPhaseUnwrap(1, P), []
      'KVBegin', @() KVBegin(size_, lambda, n), @() complex(ones(n, n + 1))
    };
    printf('\nN = %d (median of %d runs, ms)\n', n, reps);
    printf('%-22s %10s %10s %8s\n', 'command', 'command', 'Octave', 'ratio');
    for c = 1:rows(cases)
      t = nan(reps, 2);
      for r = 1:reps
        tic; G = cases{c, 2}(); t(r, 1) = toc; clear G;
        if ~isempty(cases{c, 3})
          tic; G = cases{c, 3}(); t(r, 2) = toc; clear G;
        end
      end
      m = median(t, 1) * 1e3;
      printf('%-22s %10.1f %10.1f %8.2f\n', cases{c, 1}, m(1), m(2), m(1) / m(2));
    end
  end
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
