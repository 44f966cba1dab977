function varargout = KVZernike(varargin)
% KVZernike  Add one Zernike aberration term to the wave front of the field.
%
%   Fout = KVZernike(n, m, R, A, Fin)
%
%   n    radial order, an integer 0 or more
%   m    azimuthal order, one of n, n-2, ..., -n
%   R    radius at which the phase amplitude reaches A radians
%   A    phase amplitude, in radians
%   Fin  input field
%   Fout output field, same grid as Fin
%
%   Each sample is multiplied by exp(i*A*Z), Z = R_n^|m|(rho)*sin(m*theta)
%   for m > 0 and R_n^|m|(rho)*cos(m*theta) for m <= 0, with rho the
%   distance from the grid centre over R and R_n^|m| the unnormalised radial
%   polynomial. The polynomial is not cut off at rho = 1. n and m are
%   truncated to integers. Orders above 170 overflow the factorials and
%   give NaN samples.
%
%   Low orders: (1,1) and (1,-1) tilt in y and x, (2,0) defocus,
%   (2,2) and (2,-2) astigmatism, (3,1) and (3,-1) coma, (4,0) spherical
%   aberration.
%
%   Example:
%     F = KVBegin(5e-3, 633e-9, 256);
%     F = KVZernike(2, 0, 2e-3, 1, F);
%     F = KVZernike(3, -1, 2e-3, 0.5, F);
%     imagesc(KVPhase(F)); axis image
%
%   See also KVTilt, KVLens, KVPhase.

error('Korvane:notCompiled', ['KVZernike is not compiled: run "make octave" (Octave) or ' ...
       'build_korvane (MATLAB), and add the build folder to the path.']);
end
