function [x, y] = KVCoordinates(Fin, rule)
% KVCoordinates  The x and y coordinates of every sample of a field.
%
%   [x, y] = KVCoordinates(Fin)
%   [x, y] = KVCoordinates(Fin, 'resample')
%
%   Fin   a field (N x (N+1) array)
%   rule  'grid' (default): the spacing size/N that every command but
%         KVForward and KVInterpol uses; 'resample': the spacing
%         size/(N - 1) that KVForward and KVInterpol use on their grids
%   x, y  N x N arrays, in the unit of size and lambda, lined up with the
%         samples: x goes with the columns, y with the rows
%
%   F(r, c), in Octave's 1-based indices, lies at
%   x = (c - 1 - floor(N/2))*d, y = (r - 1 - floor(N/2))*d with d = size/N (or
%   size/(N - 1)): F(N/2 + 1, N/2 + 1) is the origin for the even N of KVBegin.
%   The values are those the commands compute, bit for bit.
%
%   Example:
%     F = KVBegin(5e-3, 633e-9, 128);
%     F = KVGaussAperture(1e-3, 0, 0, 1, F);
%     [x, y] = KVCoordinates(F);
%     I = KVIntensity(0, F);
%     xc = sum(I(:) .* x(:)) / sum(I(:))   % the beam's centroid: 0
%
%   See also KVHeader, KVBegin, KVForward, KVInterpol.
  if (nargin < 1 || nargin > 2)
    error('Korvane:usage', '%s: wrong number of arguments', mfilename());
  end
  if (nargin < 2)
    rule = 'grid';
  end
  h = KVHeader (Fin);
  n = h.N;
  switch (lower (rule))
    case 'grid'
      d = h.size / n;
    case 'resample'
      d = h.size / (n - 1);
    otherwise
      error ('Korvane:badRule', 'KVCoordinates: rule must be ''grid'' or ''resample''');
  end
  v = ((0:n-1) - floor (n / 2)) * d;
  [x, y] = meshgrid (v, v);
end

%!test
%! F = KVBegin (4, 1e-6, 8);
%! [x, y] = KVCoordinates (F);
%! assert (x(1, :), (-4:3) * 0.5);
%! assert (x(:, 3), repmat (-1, 8, 1));
%! assert (y, x.');
%! assert (x(5, 5), 0);
%! [xr, yr] = KVCoordinates (F, 'resample');
%! assert (xr(1, :), (-4:3) * 4 / 7);
%! assert (yr(:, 1), ((-4:3) * 4 / 7).');

%!test
%! ## Lined up with the samples: a circle of radius R through KVCircAperture
%! ## is the set x.^2 + y.^2 <= R^2 (an off-centre one shows the orientation).
%! F = KVBegin (6e-3, 633e-9, 64);
%! G = KVCircAperture (1.1e-3, 1.3e-3, -0.7e-3, F);
%! [x, y] = KVCoordinates (F);
%! assert (abs (G(:, 1:64)) > 0, (x - 1.3e-3).^2 + (y + 0.7e-3).^2 <= 1.1e-3^2);

%!test
%! ## The resampling rule is the one of KVInterpol: an unchanged grid keeps
%! ## an off-centre spot where it is.
%! F = KVCircAperture (0.5e-3, 1e-3, 0, KVBegin (6e-3, 633e-9, 32));
%! G = KVInterpol (6e-3, 32, 0, 0, 0, 1, F);
%! assert (abs (G(:, 1:32)) > 0.5, abs (F(:, 1:32)) > 0.5);

%!error <rule must be> KVCoordinates (KVBegin (1, 1e-6, 8), 'other')
%!error <must be a field> KVCoordinates (ones (3))
