function Fout = fraunhofer_peer(f, NewSize, NewNumber, Fin, x_shift, y_shift)
  % The focal-plane field as a matrix Fourier transform in vectorized
  % Octave: the two exponential matrices, then two products, then the scale
  % and focal-plane phase. The timing peer of KVFraunhofer
  % (bench/fraunhofer_timing.m); same grids, same header.
  if nargin < 5
    x_shift = 0;
    y_shift = 0;
  end
  N = rows(Fin);
  h = real(Fin(1:5, N + 1));
  lambda = h(2);
  M = fix(NewNumber);
  d = h(1) / N;
  x = ((0:N-1)' - fix(N / 2)) * d;                  % input, down the rows
  u = ((0:M-1) - fix(M / 2)) * (NewSize / M);       % output, along the columns
  c = -2i * pi / (lambda * f);
  Ex = exp(c * x * (u + x_shift));                  % N x M
  Ey = exp(c * x * (u + y_shift));
  px = exp(1i * pi * (u + x_shift).^2 / (lambda * f));
  py = exp(1i * pi * (u + y_shift).^2 / (lambda * f));
  Fout = zeros(M, M + 1);
  Fout(:, 1:M) = (d^2 / (1i * lambda * f)) * (py.' * px) .* (Ey.' * Fin(:, 1:N) * Ex);
  Fout(1:5, M + 1) = [NewSize; lambda; M; 0; fix(h(5))];
end
