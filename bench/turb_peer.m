% The textbook phase screen, vectorised Octave: an FFT screen whose cells
% carry the phase spectrum sampled at their centres, plus three levels of
% subharmonics (the 3 x 3 cells of side 1/(3^p size) around the origin, each
% mode an N x N complex exponential), the spectrum sampled at each cell's
% centre. The peer that bench/turb_timing.m times KVTurbScreen against.
%   phz = turb_peer(r0, N, d, L0, l0)   d: sample spacing
function phz = turb_peer(r0, N, d, L0, l0)
  D = N * d;
  fm = 5.92 / (2 * pi * l0);      % Inf for l0 = 0
  f0 = 1 / L0;                    % 0 for L0 = Inf
  psd = @(f) 0.022896 * r0^(-5/3) * exp(-(f / fm).^2) ./ (f.^2 + f0^2).^(11/6);
  % The FFT part: cells (p, q)/D, p, q = -N/2 .. N/2-1, no piston.
  df = 1 / D;
  k = (-N/2:N/2-1) * df;
  [fx, fy] = meshgrid(k);
  W = psd(sqrt(fx.^2 + fy.^2)) * df^2;
  W(N/2 + 1, N/2 + 1) = 0;
  c = (randn(N) + 1i * randn(N)) .* sqrt(W / 2);
  phz = real(ifft2(ifftshift(c))) * N^2;
  % Three levels of subharmonics on the sample coordinates.
  x = (-N/2:N/2-1) * d;
  [X, Y] = meshgrid(x);
  low = zeros(N);
  for p = 1:3
    h = df / 3^p;
    for m = -1:1
      for n = -1:1
        if m == 0 && n == 0
          continue;
        end
        a = (randn() + 1i * randn()) * sqrt(psd(h * sqrt(m^2 + n^2)) * h^2);
        low = low + a * exp(2i * pi * h * (m * X + n * Y));
      end
    end
  end
  phz = phz + real(low);
end
