function v = korvane_version()
% korvane_version  The version of Korvane, as a string.
%
%   v = korvane_version()
%
%   v  the version, e.g. '1.0.0', read from the file VERSION: in the
%      installed package it lies beside this function, in the source tree
%      one folder up. NEWS says what each version holds.
%
%   Example:
%     printf('Korvane %s\n', korvane_version());
%
%   See also KVBegin.
  here = fileparts (mfilename ('fullpath'));
  for f = {fullfile(here, 'VERSION'), fullfile(fileparts(here), 'VERSION')}
    fid = fopen (f{1}, 'r');
    if (fid >= 0)
      v = strtrim (fgetl (fid));
      fclose (fid);
      return;
    end
  end
  error ('Korvane:noVersion', 'korvane_version: no VERSION file beside %s', here);
end

%!test
%! v = korvane_version ();
%! assert (ischar (v));
%! assert (! isempty (regexp (v, '^\d+\.\d+\.\d+$', 'once')));
