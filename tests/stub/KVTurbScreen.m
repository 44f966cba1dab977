function Phase = KVTurbScreen(seed, r0, L0, l0, Fin)
% KVTurbScreen  STAND-IN: delete this file when the compiled KVTurbScreen exists.
%
%   Phase = KVTurbScreen(seed, r0, L0, l0, Fin)
%
%   A textbook FFT phase screen in Octave's language, with the call form of
%   the compiled command, so that the Monte Carlo example and its test can
%   run before that command is built. Only tests/package/montecarlo_check.m
%   and examples/turbulence_montecarlo.m put this folder on the path, and
%   only when no other KVTurbScreen is found.
%
%   seed  integer seed (truncated toward zero; NaN or out of range gives
%         -2147483648)
%   r0    Fried parameter, m (Inf: a screen of zeros)
%   L0    outer scale, m (Inf: none)
%   l0    inner scale, m (0: none)
%   Fin   a field; only its grid is used
%   Phase N x N phase in radians
%
%   The modified von Karman spectrum, in cycles per metre,
%     PSD(f) = 0.022896 r0^(-5/3) exp(-(f/fm)^2) / (f^2 + f0^2)^(11/6),
%   fm = 5.92/(2 pi l0), f0 = 1/L0, is sampled at the FFT frequencies
%   (spacing 1/size, the zero frequency left out) and given complex
%   Gaussian weights; the real part of the inverse FFT is the screen. It
%   has no subharmonics, so it lacks the low frequencies: its structure
%   function falls well short of theory at large separations. The draws
%   come from Octave's randn, seeded and restored around the call, so one
%   seed gives one screen, bit for bit, in every Octave process of one
%   build.
  if (nargin != 5)
    error('Korvane:argCount', 'KVTurbScreen: expects five input arguments');
  end
  for v = {seed, r0, L0, l0}
    if (! (isnumeric(v{1}) && isreal(v{1}) && isscalar(v{1})))
      error('Korvane:notScalar', 'KVTurbScreen: Input must be real scalar.');
    end
  end
  if (! (r0 > 0))
    error('Korvane:badValue', 'KVTurbScreen: The Fried parameter r0 must be positive.');
  end
  if (! (L0 > 0))
    error('Korvane:badValue', 'KVTurbScreen: The outer scale L0 must be positive (Inf: no outer scale).');
  end
  if (! (l0 >= 0 && isfinite(l0)))
    error('Korvane:badValue', 'KVTurbScreen: The inner scale l0 must be zero or positive.');
  end
  h = KVHeader(Fin);
  N = h.N;
  seed = double(seed);
  if (isnan(seed) || seed < -2147483648 || seed > 2147483647)
    seed = -2147483648;
  end
  seed = fix(seed);
  if (isinf(r0))
    Phase = zeros(N);
    return;
  end
  df = 1 / h.size;
  f = (-floor(N / 2):ceil(N / 2) - 1) * df;
  [fx, fy] = meshgrid(f);
  f2 = fx.^2 + fy.^2;
  fm = 5.92 / (2 * pi * l0);
  psd = 0.022896 * r0^(-5/3) * exp(-f2 / fm^2) ./ (f2 + (1 / L0)^2).^(11/6);
  psd(floor(N / 2) + 1, floor(N / 2) + 1) = 0;
  old = randn('state');
  unwind_protect
    % The state from the seed as an unsigned 32-bit pattern.
    randn('state', mod(seed, 2^32));
    c = complex(randn(N), randn(N)) .* sqrt(psd) * df;
  unwind_protect_cleanup
    randn('state', old);
  end_unwind_protect
  Phase = real(ifft2(ifftshift(c))) * N^2;
end
